// Writes the program's icon for the desktop's icon theme from the drawing the tray shows:
// <folder>/hicolor/<n>x<n>/apps/parlino.png for every size and hicolor/scalable/apps/parlino.svg.
// Usage: make_icons FOLDER SIZE...
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/ui/widgets/artwork.h"

namespace {

bool WritePng(const std::filesystem::path& folder, int size) {
  const std::filesystem::path dir =
      folder / "hicolor" / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
  std::filesystem::create_directories(dir);
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    parlino::app::PaintPicture(painter);
  }
  return image.save(QString::fromStdString((dir / "parlino.png").string()), "PNG");
}

bool WriteSvg(const std::filesystem::path& folder) {
  const std::filesystem::path dir = folder / "hicolor" / "scalable" / "apps";
  std::filesystem::create_directories(dir);
  QSvgGenerator svg;
  svg.setFileName(QString::fromStdString((dir / "parlino.svg").string()));
  svg.setTitle("Parlino");
  svg.setDescription("A speech bubble with sound waves");
  svg.setSize(QSize(16, 16));
  svg.setViewBox(QRectF(0, 0, 16, 16));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  parlino::app::PaintPicture(painter);
  return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "Usage: %s FOLDER SIZE...\n", argv[0]);
    return 2;
  }
  // Painting into images and SVG needs no display, so no application object is made.
  const std::filesystem::path folder = argv[1];
  try {
    for (int i = 2; i < argc; ++i) {
      const std::string_view text = argv[i];
      int size = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
      if (error != std::errc() || end != text.data() + text.size() || size <= 0) {
        std::fprintf(stderr, "make_icons: not a size: %s\n", argv[i]);
        return 2;
      }
      if (!WritePng(folder, size)) {
        std::fprintf(stderr, "make_icons: cannot write the %d pixel icon\n", size);
        return 1;
      }
    }
    if (!WriteSvg(folder)) {
      std::fprintf(stderr, "make_icons: cannot write the scalable icon\n");
      return 1;
    }
  } catch (const std::filesystem::filesystem_error& error) {
    std::fprintf(stderr, "make_icons: %s\n", error.what());
    return 1;
  }
  return 0;
}
