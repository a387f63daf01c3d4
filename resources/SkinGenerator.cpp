// Draws the editor's two skin bitmaps and writes them as BMP files:
//   background_10001.bmp  619 x 265, 32 bits per pixel: the panel
//   handle_10002.bmp       44 x 21,  8 bits per pixel: the slider handle
// Usage: torvix-skin-generator OUTPUT_DIRECTORY
// The pictures depend only on this program and the installed "Arial"
// (Liberation Sans), so the committed files can be drawn again at will.
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int panelWidth = 619;
constexpr int panelHeight = 265;
constexpr int handleWidth = 44;
constexpr int handleHeight = 21;

// The sliders' centres and the top and bottom of their tracks; the handle's
// centre runs from 88 to 200 on screen.
constexpr int trackCentres[3] = {313, 423, 532};
constexpr const char* captions[3] = {"Pre Lo", "Pre Gain", "Post Gain"};
constexpr double trackTop = 84.0;
constexpr double trackBottom = 204.0;

struct Rgb {
  double r, g, b;
};
constexpr Rgb stone{0.47, 0.53, 0.53};
constexpr Rgb ink{93 / 255.0, 108 / 255.0, 107 / 255.0};
constexpr Rgb field{172 / 255.0, 186 / 255.0, 188 / 255.0};

// A fixed pseudo-random sequence, so that the texture is the same each time.
class Noise {
 public:
  double next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / static_cast<double>(1u << 24);
  }

 private:
  std::uint32_t state = 20240601u;
};

void setColor(cairo_t* cr, Rgb c, double shade = 0.0) {
  cairo_set_source_rgb(cr, c.r + shade, c.g + shade, c.b + shade);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void drawStone(cairo_t* cr, Noise& noise) {
  setColor(cr, stone);
  cairo_paint(cr);
  // Blotches of lighter and darker rock, then fine grain.
  for (int i = 0; i < 260; ++i) {
    double x = noise.next() * panelWidth, y = noise.next() * panelHeight;
    double radius = 4 + noise.next() * 26;
    double shade = (noise.next() - 0.5) * 0.10;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1.0, 0.35 + noise.next() * 0.5);
    cairo_arc(cr, 0, 0, radius, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, stone.r + shade, stone.g + shade, stone.b + shade, 0.45);
    cairo_fill(cr);
  }
  for (int i = 0; i < 9000; ++i) {
    double x = std::floor(noise.next() * panelWidth), y = std::floor(noise.next() * panelHeight);
    double shade = (noise.next() - 0.5) * 0.22;
    cairo_set_source_rgba(cr, stone.r + shade, stone.g + shade, stone.b + shade, 0.6);
    cairo_rectangle(cr, x, y, 1, 1);
    cairo_fill(cr);
  }
}

void drawFrame(cairo_t* cr) {
  cairo_set_line_width(cr, 2);
  for (int i = 0; i < 4; ++i) {
    double inset = 1 + i * 2;
    double light = 0.22 - i * 0.07;
    cairo_set_source_rgba(cr, 1, 1, 1, light > 0 ? light : 0);
    cairo_move_to(cr, inset, panelHeight - inset);
    cairo_line_to(cr, inset, inset);
    cairo_line_to(cr, panelWidth - inset, inset);
    cairo_stroke(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45 - i * 0.1);
    cairo_move_to(cr, panelWidth - inset, inset);
    cairo_line_to(cr, panelWidth - inset, panelHeight - inset);
    cairo_line_to(cr, inset, panelHeight - inset);
    cairo_stroke(cr);
  }
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  cairo_rectangle(cr, 12.5, 12.5, panelWidth - 25, panelHeight - 25);
  cairo_stroke(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.18);
  cairo_rectangle(cr, 13.5, 13.5, panelWidth - 27, panelHeight - 27);
  cairo_stroke(cr);
}

void embossedText(cairo_t* cr, const char* text, double x, double y, Rgb color) {
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
  cairo_move_to(cr, x + 1, y + 1);
  cairo_show_text(cr, text);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_move_to(cr, x - 1, y - 1);
  cairo_show_text(cr, text);
  setColor(cr, color);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text);
}

void centredText(cairo_t* cr, const char* text, double centreX, double baseline, Rgb color) {
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  embossedText(cr, text, centreX - extents.x_advance / 2, baseline, color);
}

void drawTrack(cairo_t* cr, int centre, const char* caption) {
  // The recessed slot.
  roundedRect(cr, centre - 5, trackTop, 10, trackBottom - trackTop, 5);
  cairo_set_source_rgb(cr, 0.16, 0.18, 0.18);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
  cairo_stroke(cr);
  roundedRect(cr, centre - 2, trackTop + 4, 4, trackBottom - trackTop - 8, 2);
  cairo_set_source_rgb(cr, 0.05, 0.06, 0.06);
  cairo_fill(cr);
  // Scale marks on both sides, eleven steps over the handle's travel.
  cairo_set_line_width(cr, 1);
  for (int i = 0; i <= 10; ++i) {
    double y = std::floor(88 + i * 11.2) + 0.5;
    double length = (i % 5 == 0) ? 7 : 4;
    cairo_set_source_rgba(cr, 0.12, 0.14, 0.14, 0.8);
    cairo_move_to(cr, centre - 14 - length, y);
    cairo_line_to(cr, centre - 14, y);
    cairo_move_to(cr, centre + 14, y);
    cairo_line_to(cr, centre + 14 + length, y);
    cairo_stroke(cr);
  }
  cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 13);
  centredText(cr, caption, centre, 66, ink);
}

void drawDisplayField(cairo_t* cr) {
  roundedRect(cr, 54.5, 97.5, 192, 32, 4);
  cairo_set_source_rgb(cr, 0.20, 0.23, 0.23);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  roundedRect(cr, 56, 99, 189, 29, 3);
  setColor(cr, field);
  cairo_fill(cr);
  // The arrow that tells a menu lies here.
  cairo_move_to(cr, 229, 109);
  cairo_line_to(cr, 239, 109);
  cairo_line_to(cr, 234, 116);
  cairo_close_path(cr);
  setColor(cr, ink);
  cairo_fill(cr);
  cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 12);
  embossedText(cr, "Preset", 58, 90, ink);
}

void drawTitle(cairo_t* cr) {
  cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 52);
  embossedText(cr, "TORVIX", 34, 206, Rgb{0.26, 0.30, 0.30});
  cairo_set_font_size(cr, 21);
  embossedText(cr, "D I S T O R T I O N", 38, 234, ink);
}

cairo_surface_t* drawPanel() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, panelWidth, panelHeight);
  cairo_t* cr = cairo_create(surface);
  Noise noise;
  drawStone(cr, noise);
  drawFrame(cr);
  for (int i = 0; i < 3; ++i) drawTrack(cr, trackCentres[i], captions[i]);
  drawDisplayField(cr);
  drawTitle(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

// A dark wedge: wide at the left, narrowing to the right, with a light
// index line through its middle. White stays white (the transparent colour),
// so edges are drawn without antialiasing.
cairo_surface_t* drawHandle() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, handleWidth, handleHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_move_to(cr, 3, 1);
  cairo_line_to(cr, 41, 6);
  cairo_line_to(cr, 41, 15);
  cairo_line_to(cr, 3, 20);
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, 0.13, 0.14, 0.15);
  cairo_fill(cr);
  cairo_move_to(cr, 5, 3);
  cairo_line_to(cr, 39, 7);
  cairo_line_to(cr, 39, 9);
  cairo_line_to(cr, 5, 8);
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, 0.30, 0.32, 0.33);
  cairo_fill(cr);
  cairo_rectangle(cr, 5, 10, 35, 1);
  cairo_set_source_rgb(cr, 0.85, 0.80, 0.55);
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

void putLittle(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::vector<unsigned char> bmpHeaders(int width, int height, int bitsPerPixel, std::uint32_t paletteEntries) {
  std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * bitsPerPixel + 31) / 32 * 4;
  std::uint32_t pixelOffset = 14 + 40 + paletteEntries * 4;
  std::vector<unsigned char> out{'B', 'M'};
  putLittle(out, pixelOffset + rowBytes * height, 4);
  putLittle(out, 0, 4);
  putLittle(out, pixelOffset, 4);
  putLittle(out, 40, 4);
  putLittle(out, width, 4);
  putLittle(out, height, 4);  // bottom-up
  putLittle(out, 1, 2);
  putLittle(out, bitsPerPixel, 2);
  putLittle(out, 0, 4);  // no compression
  putLittle(out, rowBytes * height, 4);
  putLittle(out, 2835, 4);
  putLittle(out, 2835, 4);
  putLittle(out, paletteEntries, 4);
  putLittle(out, 0, 4);
  return out;
}

std::uint32_t pixelAt(cairo_surface_t* surface, int x, int y) {
  const unsigned char* row =
      cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
  return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
}

std::vector<unsigned char> encode32(cairo_surface_t* surface) {
  int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
  std::vector<unsigned char> out = bmpHeaders(width, height, 32, 0);
  for (int y = height - 1; y >= 0; --y)
    for (int x = 0; x < width; ++x) putLittle(out, pixelAt(surface, x, y), 4);
  return out;
}

// Eight bits through a grey palette: the handle is drawn in greys and one
// accent colour, which takes palette entry 1.
std::vector<unsigned char> encode8(cairo_surface_t* surface) {
  int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
  std::vector<std::uint32_t> palette;
  std::vector<unsigned char> indices;
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t colour = pixelAt(surface, x, y);
      std::size_t index = 0;
      while (index < palette.size() && palette[index] != colour) ++index;
      if (index == palette.size()) palette.push_back(colour);
      indices.push_back(static_cast<unsigned char>(index));
    }
    while (indices.size() % 4) indices.push_back(0);
  }
  palette.resize(256, 0);
  std::vector<unsigned char> out = bmpHeaders(width, height, 8, 256);
  for (std::uint32_t colour : palette) putLittle(out, colour, 4);
  out.insert(out.end(), indices.begin(), indices.end());
  return out;
}

bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: torvix-skin-generator OUTPUT_DIRECTORY\n");
    return 2;
  }
  std::string directory = argv[1];
  cairo_surface_t* panel = drawPanel();
  cairo_surface_t* handle = drawHandle();
  bool written = writeFile(directory + "/background_10001.bmp", encode32(panel)) &&
                 writeFile(directory + "/handle_10002.bmp", encode8(handle));
  cairo_surface_destroy(panel);
  cairo_surface_destroy(handle);
  if (!written) {
    std::fprintf(stderr, "torvix-skin-generator: cannot write the bitmaps into %s\n", directory.c_str());
    return 1;
  }
  return 0;
}
