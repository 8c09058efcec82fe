// Writes the window icon's pictures as a C++ header of their pixels, which the build compiles into
// the window. A picture read from a PNG at start-up has Qt look through its image-format plugins
// before its own PNG reader, and decode it; pixels in the program cost neither.
//
//   window-icon-pixels OUTPUT.h PICTURE.png...
//
// Each picture must be square. The header holds, for each, its side and its pixels in rows from
// the top, each 0xAARRGGBB, not premultiplied (QImage::Format_ARGB32).

#include <QImage>
#include <QString>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Picture {
    std::string file;
    QImage image;
};

std::string arrayName(const Picture& picture) {
    return "kPixels" + std::to_string(picture.image.width());
}

void writePixels(std::ostream& out, const Picture& picture) {
    const QImage& image = picture.image;
    out << "// " << picture.file << "\n";
    out << "inline constexpr std::uint32_t " << arrayName(picture) << "[] = {";
    for (int y = 0; y < image.height(); ++y) {
        out << "\n   ";
        for (int x = 0; x < image.width(); ++x) {
            char pixel[16];
            std::snprintf(pixel, sizeof pixel, " 0x%08xu,",
                          static_cast<unsigned>(image.pixel(x, y)));
            out << pixel;
        }
    }
    out << "\n};\n\n";
}

void writeHeader(std::ostream& out, const std::vector<Picture>& pictures) {
    out << "// Written by window-icon-pixels from the window icon's pictures; not to be edited.\n"
           "#pragma once\n\n#include <cstdint>\n#include <span>\n\n"
           "namespace quorrel::window_icon {\n\n"
           "struct Picture {\n    int side;\n    std::span<const std::uint32_t> pixels;\n};\n\n";
    for (const Picture& picture : pictures) {
        writePixels(out, picture);
    }
    out << "inline constexpr Picture kPictures[] = {";
    for (const Picture& picture : pictures) {
        out << "\n    {" << picture.image.width() << ", " << arrayName(picture) << "},";
    }
    out << "\n};\n\n}  // namespace quorrel::window_icon\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: window-icon-pixels OUTPUT.h PICTURE.png...\n";
        return 2;
    }
    std::vector<Picture> pictures;
    for (int at = 2; at < argc; ++at) {
        QImage image(QString::fromLocal8Bit(argv[at]), "PNG");
        if (image.isNull() || image.width() != image.height()) {
            std::cerr << "window-icon-pixels: " << argv[at] << " is not a square PNG picture\n";
            return 1;
        }
        const std::string path(argv[at]);
        pictures.push_back({path.substr(path.find_last_of('/') + 1),
                            image.convertToFormat(QImage::Format_ARGB32)});
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    writeHeader(out, pictures);
    out.close();
    if (!out) {
        std::cerr << "window-icon-pixels: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
