#include "platform/wmf_canvas.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

#include "platform/cp1251.h"
#include "platform/numeric.h"

namespace tavir {
namespace {

constexpr std::uint16_t kTransparent = 1;
constexpr std::uint16_t kOpaque = 2;
constexpr std::uint16_t kPsSolid = 0, kPsDash = 1, kPsDot = 2, kPsNull = 5;
constexpr std::uint16_t kBsSolid = 0, kBsNull = 1, kBsHatched = 2;
constexpr std::uint16_t kR2Not = 6, kR2XorPen = 7, kR2NotXorPen = 10, kR2CopyPen = 13;
constexpr std::uint32_t kSrcCopy = 0x00CC0020u;
constexpr int kFaceNameBytes = 32;

std::int16_t Sat16(long long v) {
  return static_cast<std::int16_t>(std::clamp<long long>(v, std::numeric_limits<std::int16_t>::min(),
                                                         std::numeric_limits<std::int16_t>::max()));
}

// CP1251 bytes of a text, '?' for every character (or broken sequence) the code
// page cannot hold: a label must not vanish for one odd character.
std::string ToCp1251Lossy(std::string_view utf8) {
  if (auto whole = Utf8ToCp1251(utf8)) return *whole;
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    std::size_t len = 1;
    if ((b & 0xE0) == 0xC0)
      len = 2;
    else if ((b & 0xF0) == 0xE0)
      len = 3;
    else if ((b & 0xF8) == 0xF0)
      len = 4;
    len = std::min(len, utf8.size() - i);
    const auto one = Utf8ToCp1251(utf8.substr(i, len));
    if (one) {
      out += *one;
      i += len;
    } else {
      out += '?';
      // Skip the lead byte and its continuation bytes, no further.
      ++i;
      while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
    }
  }
  return out;
}

// Character height in picture pixels, as the platform derives it from points.
int FontPixels(int points) { return std::max(1, RoundSat(static_cast<Extended>(std::max(points, 1)) * 96 / 72)); }

}  // namespace

WmfCanvas::WmfCanvas(int width, int height, WmfImageProvider images) : images_(std::move(images)) {
  const long long w = std::max(1, width);
  const long long h = std::max(1, height);
  const long long side = std::max(w, h);
  constexpr long long kMax = std::numeric_limits<std::int16_t>::max();
  if (side > kMax) {
    // Fewer units an inch for fewer units a pixel: the paper size stays. Past 96
    // times the 16-bit range even one unit an inch is too fine, and the picture
    // shrinks on paper, still whole and in proportion.
    const long long inch = std::max<long long>(1, wmf::kUnitsPerInch * kMax / side);
    unitsPerInch_ = static_cast<std::uint16_t>(inch);
    scale_ = static_cast<Extended>(inch) / wmf::kUnitsPerInch;
    if (static_cast<Extended>(side) * scale_ > static_cast<Extended>(kMax))
      scale_ = static_cast<Extended>(kMax) / static_cast<Extended>(side);
  }
  width_ = std::max(1, Dev(w));
  height_ = std::max(1, Dev(h));
  Simple(wmf::kSetWindowOrg, {0, 0});
  Simple(wmf::kSetWindowExt, {height_, width_});
}

int WmfCanvas::Dev(long long v) const {
  if (scale_ == 1) return Sat16(v);
  return Sat16(RoundSat(static_cast<Extended>(v) * scale_));
}

void WmfCanvas::CheckOpen() const {
  if (finished_) throw std::logic_error("WmfCanvas: drawing after Finish");
}

void WmfCanvas::BeginRecord(std::uint16_t function) {
  recordStart_ = records_.size();
  records_.insert(records_.end(), 4, 0);  // size in words, patched by EndRecord
  Word(function);
}

void WmfCanvas::EndRecord() {
  if ((records_.size() - recordStart_) % 2 != 0) records_.push_back(0);
  const auto words = static_cast<std::uint32_t>((records_.size() - recordStart_) / 2);
  for (int i = 0; i < 4; ++i) records_[recordStart_ + i] = static_cast<std::uint8_t>((words >> (8 * i)) & 0xFF);
  maxRecordWords_ = std::max(maxRecordWords_, words);
}

void WmfCanvas::Word(std::uint16_t w) {
  records_.push_back(static_cast<std::uint8_t>(w & 0xFF));
  records_.push_back(static_cast<std::uint8_t>(w >> 8));
}

void WmfCanvas::Int(int v) { Word(static_cast<std::uint16_t>(Sat16(v))); }

void WmfCanvas::Colour(TColor c) {
  const TColor rgb = c & 0x00FFFFFFu;  // a COLORREF: the top byte is always 0
  Word(static_cast<std::uint16_t>(rgb & 0xFFFF));
  Word(static_cast<std::uint16_t>(rgb >> 16));
}

void WmfCanvas::Simple(std::uint16_t function, std::initializer_list<int> params) {
  BeginRecord(function);
  for (int p : params) Int(p);
  EndRecord();
}

int WmfCanvas::NewSlot() {
  const auto free = std::find(slots_.begin(), slots_.end(), false);
  const auto slot = static_cast<std::size_t>(free - slots_.begin());
  if (free == slots_.end())
    slots_.push_back(true);
  else
    *free = true;
  maxSlots_ = std::max(maxSlots_, slots_.size());
  return static_cast<int>(slot);
}

void WmfCanvas::FreeSlot(int slot) { slots_[static_cast<std::size_t>(slot)] = false; }

// Selects the new object, then frees the one it replaced (never the selected one).
void WmfCanvas::Select(std::optional<int>& current, int created) {
  Simple(wmf::kSelectObject, {created});
  if (current) {
    Simple(wmf::kDeleteObject, {*current});
    FreeSlot(*current);
  }
  current = created;
}

void WmfCanvas::UsePen() {
  // A pen of some width keeps at least one unit: a scaled picture never loses its lines.
  const int width = Pen.Width <= 0 ? 0 : std::max(1, Dev(Pen.Width));
  PenKey key{Pen.Color & 0x00FFFFFFu, width, Pen.Style};
  if (key.Style == PenStyle::Clear) key = {0, 0, PenStyle::Clear};
  if (pen_ && *pen_ == key) return;
  std::uint16_t style = kPsSolid;
  switch (key.Style) {
    case PenStyle::Solid: style = kPsSolid; break;
    case PenStyle::Dash: style = kPsDash; break;
    case PenStyle::Dot: style = kPsDot; break;
    case PenStyle::Clear: style = kPsNull; break;
  }
  BeginRecord(wmf::kCreatePenIndirect);
  Word(style);
  Int(key.Width);  // the width is a point: x the width, y unused
  Int(0);
  Colour(key.Color);
  EndRecord();
  Select(penSlot_, NewSlot());
  pen_ = key;
}

void WmfCanvas::UseBrush() {
  CanvasBrush key = Brush;
  key.Color &= 0x00FFFFFFu;
  if (key.Style == BrushStyle::Clear) key.Color = 0;
  if (brush_ && *brush_ == key) return;
  std::uint16_t style = kBsSolid;
  std::uint16_t hatch = 0;
  switch (key.Style) {
    case BrushStyle::Solid: style = kBsSolid; break;
    case BrushStyle::Clear: style = kBsNull; break;
    // The six hatch patterns, numbered as the platform numbers them (horizontal 0 .. diagonal cross 5).
    case BrushStyle::Horizontal:
    case BrushStyle::Vertical:
    case BrushStyle::FDiagonal:
    case BrushStyle::BDiagonal:
    case BrushStyle::Cross:
    case BrushStyle::DiagCross:
      style = kBsHatched;
      hatch = static_cast<std::uint16_t>(static_cast<int>(key.Style) - static_cast<int>(BrushStyle::Horizontal));
      break;
  }
  BeginRecord(wmf::kCreateBrushIndirect);
  Word(style);
  Colour(key.Color);
  Word(hatch);
  EndRecord();
  Select(brushSlot_, NewSlot());
  brush_ = key;
}

void WmfCanvas::UseFont() {
  CanvasFont key = Font;
  key.Color = 0;  // the colour goes with SETTEXTCOLOR, not into the font object
  if (font_ && *font_ == key) return;
  std::string face = ToCp1251Lossy(key.Name);
  face.resize(std::min<std::size_t>(face.size(), kFaceNameBytes - 1));
  face.resize(kFaceNameBytes, '\0');
  BeginRecord(wmf::kCreateFontIndirect);
  // Negative: the character height, without internal leading.
  Int(-std::max(1, Dev(FontPixels(key.Size))));
  Int(0);                      // width: the font's own
  Int(0);                      // escapement
  Int(0);                      // orientation
  Int(400);                    // normal weight
  records_.push_back(0);       // italic
  records_.push_back(0);       // underline
  records_.push_back(0);       // strike-out
  records_.push_back(wmf::kRussianCharset);
  records_.push_back(0);  // output precision: default
  records_.push_back(0);  // clip precision: default
  records_.push_back(0);  // quality: default
  records_.push_back(0);  // pitch and family: default
  records_.insert(records_.end(), face.begin(), face.end());
  EndRecord();
  Select(fontSlot_, NewSlot());
  font_ = key;
}

void WmfCanvas::UseRop2() {
  std::uint16_t rop = kR2CopyPen;
  switch (Pen.Mode) {
    case PenMode::Copy: rop = kR2CopyPen; break;
    case PenMode::NotXor: rop = kR2NotXorPen; break;
    case PenMode::Not: rop = kR2Not; break;
    case PenMode::Xor: rop = kR2XorPen; break;
  }
  if (rop2_ == rop) return;
  Simple(wmf::kSetRop2, {rop, 0});
  rop2_ = rop;
}

void WmfCanvas::UseBkMode(bool opaque, TColor colour) {
  if (bkOpaque_ != opaque) {
    Simple(wmf::kSetBkMode, {opaque ? kOpaque : kTransparent, 0});
    bkOpaque_ = opaque;
  }
  colour &= 0x00FFFFFFu;
  if (opaque && bkColour_ != colour) {
    BeginRecord(wmf::kSetBkColor);
    Colour(colour);
    EndRecord();
    bkColour_ = colour;
  }
}

void WmfCanvas::UseTextColor() {
  const TColor colour = Font.Color & 0x00FFFFFFu;
  if (textColour_ == colour) return;
  BeginRecord(wmf::kSetTextColor);
  Colour(colour);
  EndRecord();
  textColour_ = colour;
}

// Lines and fills: the gaps of dashed pens and hatched brushes stay transparent,
// as on the screen.
void WmfCanvas::UseShapeState(bool filled) {
  UsePen();
  if (filled) UseBrush();
  UseRop2();
  if (Pen.Style == PenStyle::Dash || Pen.Style == PenStyle::Dot ||
      (filled && Brush.Style != BrushStyle::Solid && Brush.Style != BrushStyle::Clear))
    UseBkMode(false, 0);
}

void WmfCanvas::WritePoints(std::uint16_t function, const TPoint* points, std::size_t count) {
  BeginRecord(function);
  Int(static_cast<int>(count));
  for (std::size_t i = 0; i < count; ++i) {
    Int(Dev(points[i].X));
    Int(Dev(points[i].Y));
  }
  EndRecord();
}

void WmfCanvas::LineTo(int x, int y) {
  CheckOpen();
  UseShapeState(false);
  const TPoint from = Dev(PenPos());
  const TPoint to = Dev(TPoint{x, y});
  if (devicePos_ != from) Simple(wmf::kMoveTo, {from.Y, from.X});
  Simple(wmf::kLineTo, {to.Y, to.X});
  devicePos_ = to;
  SetPenPos({x, y});
}

void WmfCanvas::Polyline(const std::vector<TPoint>& points) {
  CheckOpen();
  if (points.size() < 2) return;
  UseShapeState(false);
  // A record holds at most kMaxPoints points; longer lines go in pieces that share
  // their end points, which draws the same line.
  const std::size_t step = wmf::kMaxPoints - 1;
  for (std::size_t start = 0; start + 1 < points.size(); start += step) {
    const std::size_t count = std::min<std::size_t>(wmf::kMaxPoints, points.size() - start);
    WritePoints(wmf::kPolyline, points.data() + start, count);
  }
}

void WmfCanvas::Polygon(const std::vector<TPoint>& points) {
  CheckOpen();
  if (points.size() < 2) return;
  if (points.size() > static_cast<std::size_t>(wmf::kMaxPoints))
    throw std::runtime_error("Слишком сложный рисунок для метафайла: в многоугольнике больше 32767 точек.");
  UseShapeState(true);
  WritePoints(wmf::kPolygon, points.data(), points.size());
}

void WmfCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  CheckOpen();
  if (Dev(x1) == Dev(x2) || Dev(y1) == Dev(y2)) return;
  UseShapeState(true);
  Simple(wmf::kRectangle, {Dev(y2), Dev(x2), Dev(y1), Dev(x1)});
}

void WmfCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  CheckOpen();
  if (Dev(x1) == Dev(x2) || Dev(y1) == Dev(y2)) return;
  UseShapeState(true);
  Simple(wmf::kEllipse, {Dev(y2), Dev(x2), Dev(y1), Dev(x1)});
}

void WmfCanvas::SetPixel(int x, int y, TColor color) {
  CheckOpen();
  BeginRecord(wmf::kSetPixel);
  Colour(color);
  Int(Dev(y));
  Int(Dev(x));
  EndRecord();
}

void WmfCanvas::TextOut(int x, int y, std::string_view utf8) {
  CheckOpen();
  std::string bytes = ToCp1251Lossy(utf8);
  if (bytes.empty()) return;
  bytes.resize(std::min<std::size_t>(bytes.size(), std::numeric_limits<std::int16_t>::max()));
  UseFont();
  UseTextColor();
  if (Brush.Style == BrushStyle::Clear)
    UseBkMode(false, 0);
  else
    UseBkMode(true, Brush.Color);
  BeginRecord(wmf::kTextOut);
  Int(static_cast<int>(bytes.size()));
  records_.insert(records_.end(), bytes.begin(), bytes.end());
  if (bytes.size() % 2 != 0) records_.push_back(0);
  Int(Dev(y));
  Int(Dev(x));
  EndRecord();
}

TSize WmfCanvas::TextExtent(std::string_view utf8) {
  const int h = FontPixels(Font.Size);
  const auto n = static_cast<long long>(Utf8Length(utf8));
  const long long width = n * ((h + 1) / 2);
  return {static_cast<std::int32_t>(std::min<long long>(width, std::numeric_limits<std::int32_t>::max())),
          h + (h + 5) / 6};
}

void WmfCanvas::DrawImage(std::string_view list, int index, int x, int y) {
  CheckOpen();
  if (!images_) return;
  const std::optional<WmfImage> image = images_(list, index);
  if (!image) return;
  const int w = image->Width;
  const int h = image->Height;
  if (w <= 0 || h <= 0 || w > wmf::kMaxImageSide || h > wmf::kMaxImageSide ||
      image->Pixels.size() != static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3)
    return;  // a malformed picture is left out rather than read past its end
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
  const std::size_t imageBytes = stride * static_cast<std::size_t>(h);

  BeginRecord(wmf::kStretchDib);
  Word(static_cast<std::uint16_t>(kSrcCopy & 0xFFFF));
  Word(static_cast<std::uint16_t>(kSrcCopy >> 16));
  Word(0);  // colours are RGB values
  Int(h);   // source height, width, y, x
  Int(w);
  Int(0);
  Int(0);
  Int(std::max(1, Dev(h)));  // destination height, width, y, x
  Int(std::max(1, Dev(w)));
  Int(Dev(y));
  Int(Dev(x));
  // BITMAPINFOHEADER, field by field.
  auto dword = [this](std::uint32_t v) {
    Word(static_cast<std::uint16_t>(v & 0xFFFF));
    Word(static_cast<std::uint16_t>(v >> 16));
  };
  dword(40);
  dword(static_cast<std::uint32_t>(w));
  dword(static_cast<std::uint32_t>(h));  // positive: rows from the bottom
  Word(1);                               // planes
  Word(24);                              // bits a pixel
  dword(0);                              // no compression
  dword(static_cast<std::uint32_t>(imageBytes));
  dword(0);
  dword(0);
  dword(0);
  dword(0);
  for (int row = h - 1; row >= 0; --row) {
    const std::uint8_t* p = image->Pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(w) * 3;
    for (int col = 0; col < w; ++col, p += 3) {
      records_.push_back(p[2]);  // blue, green, red
      records_.push_back(p[1]);
      records_.push_back(p[0]);
    }
    records_.insert(records_.end(), stride - static_cast<std::size_t>(w) * 3, 0);
  }
  EndRecord();
}

void WmfCanvas::Finish() {
  if (finished_) return;
  Simple(wmf::kEof, {});
  finished_ = true;

  std::vector<std::uint8_t> out;
  out.reserve(22 + 18 + records_.size());
  auto word = [&out](std::uint16_t w) {
    out.push_back(static_cast<std::uint8_t>(w & 0xFF));
    out.push_back(static_cast<std::uint8_t>(w >> 8));
  };
  auto dword = [&word](std::uint32_t v) {
    word(static_cast<std::uint16_t>(v & 0xFFFF));
    word(static_cast<std::uint16_t>(v >> 16));
  };
  // Placeable header: key, no handle, bounding box, units per inch, reserved, checksum.
  dword(wmf::kPlaceableKey);
  word(0);
  word(0);
  word(0);
  word(static_cast<std::uint16_t>(width_));
  word(static_cast<std::uint16_t>(height_));
  word(unitsPerInch_);
  dword(0);
  std::uint16_t checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) checksum ^= static_cast<std::uint16_t>(out[i] | (out[i + 1] << 8));
  word(checksum);
  // The metafile header: memory metafile, 9 words, version 3.0.
  const auto totalWords = static_cast<std::uint32_t>(9 + records_.size() / 2);
  word(1);
  word(9);
  word(0x0300);
  dword(totalWords);
  word(static_cast<std::uint16_t>(maxSlots_));
  dword(maxRecordWords_);
  word(0);
  out.insert(out.end(), records_.begin(), records_.end());
  file_ = std::move(out);
  records_.clear();
  records_.shrink_to_fit();
}

const std::vector<std::uint8_t>& WmfCanvas::Bytes() const {
  if (!finished_) throw std::logic_error("WmfCanvas: Bytes before Finish");
  return file_;
}

}  // namespace tavir
