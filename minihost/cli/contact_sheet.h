#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "minihost/cli/image_files.h"

namespace minihost {

struct LabelledImage {
    std::string label;
    Rgba8Image image;
};

// The images side by side in rows of `columns` under a title line, each over a dark ground with its
// label below it, drawn with the TrueType font at font_file. All images must have the size of the first.
Rgba8Image contact_sheet(const std::vector<LabelledImage>& images, int columns, const std::filesystem::path& font_file,
                         const std::string& title);

// The font the labels are drawn with: DejaVu Sans as Debian installs it.
std::filesystem::path label_font();

}  // namespace minihost
