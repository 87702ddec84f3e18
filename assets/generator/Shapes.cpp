#include "Shapes.h"

#include <algorithm>
#include <cmath>

double RoundedBoxDistance(double x, double y, const Box& box, double radius) {
    const double cx = (box.left + box.right) / 2;
    const double cy = (box.top + box.bottom) / 2;
    const double qx = std::abs(x - cx) - ((box.right - box.left) / 2 - radius);
    const double qy = std::abs(y - cy) - ((box.bottom - box.top) / 2 - radius);
    const double ox = std::max(qx, 0.0);
    const double oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
}

void RoundedBoxNormal(double x, double y, const Box& box, double radius, double& nx, double& ny) {
    const double innerLeft = box.left + radius;
    const double innerRight = box.right - radius;
    const double innerTop = box.top + radius;
    const double innerBottom = box.bottom - radius;
    const double kx = std::clamp(x, innerLeft, innerRight);
    const double ky = std::clamp(y, innerTop, innerBottom);
    const double dx = x - kx;
    const double dy = y - ky;
    if (dx != 0 && dy != 0) {
        // Along a rounded corner the outline faces away from the corner's centre.
        const double length = std::sqrt(dx * dx + dy * dy);
        nx = dx / length;
        ny = dy / length;
        return;
    }
    // Along the straight sides: the nearest side wins, which mitres square corners.
    const double toLeft = x - box.left;
    const double toRight = box.right - x;
    const double toTop = y - box.top;
    const double toBottom = box.bottom - y;
    const double nearest = std::min({toLeft, toRight, toTop, toBottom});
    nx = ny = 0;
    if (nearest == toTop)
        ny = -1;
    else if (nearest == toBottom)
        ny = 1;
    else if (nearest == toLeft)
        nx = -1;
    else
        nx = 1;
}

double CircleDistance(double x, double y, double cx, double cy, double radius) {
    return std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) - radius;
}

double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    const double vx = bx - ax;
    const double vy = by - ay;
    const double lengthSquared = vx * vx + vy * vy;
    double t = lengthSquared > 0 ? ((x - ax) * vx + (y - ay) * vy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double px = ax + t * vx - x;
    const double py = ay + t * vy - y;
    return std::sqrt(px * px + py * py);
}

double Coverage(double d) {
    return std::clamp(0.5 - d, 0.0, 1.0);
}

double SmoothStep(double edge0, double edge1, double v) {
    const double t = std::clamp((v - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}
