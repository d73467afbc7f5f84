#pragma once
// The metafile backend: a canvas that writes a placeable Windows metafile (WMF)
// in memory. Coordinates are the picture's pixels, written as 16-bit values. A
// picture wider or higher than 16 bits hold is written whole, every coordinate,
// pen width, font and image scaled by the same factor into the 16-bit range, and
// the placeable header's units per inch scaled with it, so that the picture keeps
// its proportions and its size on paper (96 pixels an inch). Text is written in CP1251 with the Cyrillic character set. GDI
// objects are created only when the pen, brush or font in force has changed, and
// take the lowest free object slot, as a player assigns them. The pixels of the
// picture itself are never held: the metafile is a list of drawing records.
//
// Use: draw, Finish(), then save Bytes() (through WriteFileAtomic).
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/extended.h"

namespace tavir {

// A small picture for DrawImage: Width x Height pixels, rows from the top, three
// bytes a pixel in the order red, green, blue, no row padding.
struct WmfImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;
};

// Supplies the picture of an image list entry, or nothing when there is none.
using WmfImageProvider = std::function<std::optional<WmfImage>(std::string_view list, int index)>;

// Record function numbers used in our metafiles.
namespace wmf {
constexpr std::uint16_t kEof = 0x0000;
constexpr std::uint16_t kSetBkColor = 0x0201;
constexpr std::uint16_t kSetBkMode = 0x0102;
constexpr std::uint16_t kSetRop2 = 0x0104;
constexpr std::uint16_t kSetTextAlign = 0x012E;
constexpr std::uint16_t kSetTextColor = 0x0209;
constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kLineTo = 0x0213;
constexpr std::uint16_t kMoveTo = 0x0214;
constexpr std::uint16_t kSetPixel = 0x041F;
constexpr std::uint16_t kRectangle = 0x041B;
constexpr std::uint16_t kEllipse = 0x0418;
constexpr std::uint16_t kTextOut = 0x0521;
constexpr std::uint16_t kPolygon = 0x0324;
constexpr std::uint16_t kPolyline = 0x0325;
constexpr std::uint16_t kSelectObject = 0x012D;
constexpr std::uint16_t kDeleteObject = 0x01F0;
constexpr std::uint16_t kCreatePenIndirect = 0x02FA;
constexpr std::uint16_t kCreateFontIndirect = 0x02FB;
constexpr std::uint16_t kCreateBrushIndirect = 0x02FC;
constexpr std::uint16_t kStretchDib = 0x0F43;

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::uint16_t kUnitsPerInch = 96;
constexpr std::uint8_t kRussianCharset = 204;
// The most points one polygon or polyline record can hold (16-bit count).
constexpr int kMaxPoints = 32767;
// The largest DrawImage picture written (each side).
constexpr int kMaxImageSide = 4096;
}  // namespace wmf

class WmfCanvas : public Canvas {
 public:
  // The picture is width x height pixels (at least 1 each).
  WmfCanvas(int width, int height, WmfImageProvider images = {});

  // Metafile units per picture pixel: 1, or less for a picture past 16 bits.
  Extended Scale() const { return scale_; }
  // The placeable header's units per inch: 96 scaled like the coordinates.
  std::uint16_t UnitsPerInch() const { return unitsPerInch_; }
  // The metafile's own width and height (the picture's, scaled).
  int DeviceWidth() const { return width_; }
  int DeviceHeight() const { return height_; }

  void LineTo(int x, int y) override;
  void Polyline(const std::vector<TPoint>& points) override;
  // Throws std::runtime_error (Russian) for a polygon of more points than a record holds.
  void Polygon(const std::vector<TPoint>& points) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void SetPixel(int x, int y, TColor color) override;
  // Characters CP1251 lacks are written as '?'.
  void TextOut(int x, int y, std::string_view utf8) override;
  // No font metrics are at hand: an estimate from the font size at 96 pixels an inch.
  TSize TextExtent(std::string_view utf8) override;
  void DrawImage(std::string_view list, int index, int x, int y) override;

  // Ends the metafile; drawing afterwards throws std::logic_error. Repeating it is harmless.
  void Finish();
  bool Finished() const { return finished_; }
  // The whole file; only after Finish (std::logic_error before).
  const std::vector<std::uint8_t>& Bytes() const;

 private:
  struct PenKey {
    TColor Color;
    int Width;
    PenStyle Style;
    friend bool operator==(const PenKey&, const PenKey&) = default;
  };

  void CheckOpen() const;
  // A picture coordinate or length in metafile units (saturated to 16 bits).
  int Dev(long long v) const;
  TPoint Dev(TPoint p) const { return {Dev(p.X), Dev(p.Y)}; }
  void BeginRecord(std::uint16_t function);
  void EndRecord();
  void Word(std::uint16_t w);
  void Int(int v);  // saturated to int16
  void Colour(TColor c);
  void Simple(std::uint16_t function, std::initializer_list<int> params);

  int NewSlot();
  void FreeSlot(int slot);
  void Select(std::optional<int>& current, int created);
  void UsePen();
  void UseBrush();
  void UseFont();
  void UseRop2();
  void UseBkMode(bool opaque, TColor colour);
  void UseTextColor();
  void UseShapeState(bool filled);
  void WritePoints(std::uint16_t function, const TPoint* points, std::size_t count);

  Extended scale_ = 1;
  std::uint16_t unitsPerInch_ = wmf::kUnitsPerInch;
  int width_;
  int height_;
  WmfImageProvider images_;

  std::vector<std::uint8_t> records_;
  std::size_t recordStart_ = 0;
  std::uint32_t maxRecordWords_ = 0;
  std::vector<bool> slots_;
  std::size_t maxSlots_ = 0;

  std::optional<int> penSlot_, brushSlot_, fontSlot_;
  std::optional<PenKey> pen_;
  std::optional<CanvasBrush> brush_;
  std::optional<CanvasFont> font_;
  std::optional<std::uint16_t> rop2_;
  std::optional<bool> bkOpaque_;
  std::optional<TColor> bkColour_;
  std::optional<TColor> textColour_;
  std::optional<TPoint> devicePos_;  // the player's current position, saturated

  bool finished_ = false;
  std::vector<std::uint8_t> file_;
};

}  // namespace tavir
