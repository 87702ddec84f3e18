#pragma once

// Signed distances from a point to the outlines the art is made of: negative inside, positive
// outside, in pixels. Sampled at pixel centres they give exact, smooth anti-aliased edges.

struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

double RoundedBoxDistance(double x, double y, const Box& box, double radius);
// The outward direction of the rounded box's nearest outline at the point (unit length).
void RoundedBoxNormal(double x, double y, const Box& box, double radius, double& nx, double& ny);
double CircleDistance(double x, double y, double cx, double cy, double radius);
// Unsigned distance to the segment from (ax, ay) to (bx, by).
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by);

// How much of a pixel a shape covers when its outline lies at signed distance d from the pixel's centre.
double Coverage(double d);
// 0 at edge0, 1 at edge1, with a smooth start and end.
double SmoothStep(double edge0, double edge1, double v);
