#pragma once

#include "layout/TLayout.h"
#include "layout/TUserPage.h"

#include <memory>
#include <string>

// What went wrong, already worded for the user; the command exits with status 1.
struct BadInput {
    std::string reason;
};

// FILE loaded: a template into the layout, or a page file's page, which joins the fresh layout so
// its own images are there for it.
struct LoadedFile {
    std::string name; // FILE quoted, for messages
    TLayout layout;
    std::unique_ptr<TUserPage> filePage;
};

// Reads a template or user page file; throws BadInput naming the cause.
void LoadLayoutFile(const std::string& path, LoadedFile& loaded);

// Writes the screen's picture as a PNG file, whole or not at all; throws BadInput when it cannot.
class Surface;
void WriteScreenPng(const std::string& output, const Surface& surface);
