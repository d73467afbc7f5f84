#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model/shell_surfaces.h"
#include "platform/recording_canvas.h"

namespace tavir {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kNotParaboloid = "Ошибка загрузки! Функция не эллиптический параболлоид!";
const std::string kNotSphere = "Ошибка загрузки! Функция не является функцией сферы!";
const std::string kNoParams = "Ошибка! Сначала задайте параметры оболочки.";
const std::string kBadCount = "Ошибка загрузки! Неверное число параметров оболочки.";

const Bytes kTen = {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x02, 0x40};
const Bytes kOne = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
const Bytes kTwo = {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x40};
const Bytes kSixAndAQuarter = {0, 0, 0, 0, 0, 0, 0, 0xC8, 0x01, 0x40};

Bytes Slice(const Bytes& b, std::size_t at, std::size_t n) { return Bytes(b.begin() + at, b.begin() + at + n); }

template <class S>
Bytes Save(const S& s) {
  BinaryWriter w;
  s.SaveToStream(w);
  return w.Take();
}

// Picture 100 x 100 pixels over the plan box [0, 10] x [0, 10], 0.1 units a pixel.
TViewTransform Window(std::uint8_t projection = 0) {
  TViewTransform w;
  w.MinPoint = FloatPoint3D(0, 0, 0);
  w.MaxPoint = FloatPoint3D(10, 10, 10);
  w.Scale = FloatPoint(0.1L, 0.1L);
  w.Width = 100;
  w.Height = 100;
  w.Projection = CodeOfByte<Projection>(projection);
  return w;
}

// A hand-made base record: kind, flag, count, then the given parameter bytes.
Bytes BaseRecord(std::int16_t kind, std::int32_t count, std::size_t paramsWritten) {
  BinaryWriter w;
  w.WriteInt16(kind);
  w.WriteByte(0);
  w.WriteInt32(count);
  for (std::size_t i = 0; i < paramsWritten; ++i) w.WriteExtended(static_cast<Extended>(i + 1));
  return w.Take();
}

// ---- heights ----

struct ZCase {
  Extended X, Y, Z;
};

TEST(EditorParaboloid, NewSurfaceHeightsAndCurvatures) {
  TEditorShellEP s;
  EXPECT_EQ(s.Kind, kShellParaboloid);
  EXPECT_EQ(s.GetParamCount(), 4);
  EXPECT_EQ(s.Color, 255u);
  EXPECT_EQ(s.Plane, 0);
  EXPECT_EQ(s.Visible, 0);
  EXPECT_EQ(s.Kx, 0.08L);
  EXPECT_EQ(s.Ky, 0.08L);
  EXPECT_EQ(s.Kxy, 0);
  const ZCase cases[] = {
      {0, 0, 0},   {10, 10, 0},  {0, 10, 0},  {5, 5, -2},   {5, 0, -1},   {0, 5, -1},
      {10, 5, -1}, {5, 10, -1},  {-3, 5, -1}, {15, 5, -1},  {5, -40, -1}, {-1, -1, 0},  // clamped into the plan
  };
  for (const ZCase& c : cases) {
    EXPECT_EQ(s.GetZ(c.X, c.Y), c.Z) << c.X << ", " << c.Y;
    EXPECT_EQ(s.LastZ, c.Z);
  }
  s.GetZ(-3, 12);
  EXPECT_EQ(s.LastLocalX, 0);  // the local point is kept as clamped
  EXPECT_EQ(s.LastLocalY, 10);
}

TEST(Paraboloid, HeightIsTheScaledFormWhereverTheRisesDoNotCancel) {
  TElipticParabolloid s;
  s.SetParams(10, 4, 1, 2);
  const Extended pts[][2] = {{3, 1}, {0.7L, 3.9L}, {5, 2}, {9.99L, 0.01L}};
  for (const auto& p : pts) {
    const Extended u = 2 * p[0] / 10 - 1, v = 2 * p[1] / 4 - 1, f = 3;
    EXPECT_EQ(s.CalcZ(p[0], p[1]), f * (u * u * 1 / f + v * v * 2 / f - 1));  // bit for bit
    EXPECT_NEAR(s.CalcZ(p[0], p[1]), u * u + 2 * v * v - 3, 1e-15L);
  }
}

TEST(Paraboloid, RisesThatCancelGiveTheExpandedSurfaceNotNaN) {
  TElipticParabolloid s;
  s.SetParams(10, 10, 1, -1);  // a saddle: rises +1 along X and -1 along Y
  const ZCase saddle[] = {{0, 0, 0}, {5, 5, 0}, {0, 5, 1}, {5, 0, -1}, {10, 10, 0}};
  for (const ZCase& c : saddle) EXPECT_EQ(s.CalcZ(c.X, c.Y), c.Z) << c.X << ", " << c.Y;
  s.SetParams(10, 10, 0, 0);
  for (const ZCase& c : saddle) EXPECT_EQ(s.CalcZ(c.X, c.Y), 0) << c.X << ", " << c.Y;
}

TEST(EditorSphere, NewSurfaceHeightsRadiusAndCurvatures) {
  TEditorSphere s;
  EXPECT_EQ(s.Kind, kShellSphere);
  EXPECT_EQ(s.GetParamCount(), 3);
  EXPECT_EQ(s.GetA(), 10);
  EXPECT_EQ(s.GetF(), 2);
  EXPECT_EQ(s.GetR(), 6.25L);
  EXPECT_EQ(s.Kx, 0.16L);  // set with the shape, not only when read from a file
  EXPECT_EQ(s.Ky, 0.16L);
  const ZCase cases[] = {{0, 0, 0}, {5, 0, 2}, {0, -5, 2}, {5, 5, 4}, {-5, 5, 4}, {20, 0, 2}, {-20, -20, 4}};
  for (const ZCase& c : cases) EXPECT_EQ(s.GetZ(c.X, c.Y), c.Z) << c.X << ", " << c.Y;
  EXPECT_NEAR(s.GetZ(0, 4.9L), 1.9208L, 1e-15L);
  EXPECT_EQ(s.GetZ(0, -4.9L), s.GetZ(0, 4.9L));
  EXPECT_EQ(s.GetZ(3, 4), 2 * 25 / 25.0L);
}

TEST(Surfaces, UnusableSpansGiveZeroHeightAndCurvatureNeverNaN) {
  const Extended inf = std::numeric_limits<Extended>::infinity();
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  for (Extended span : {Extended{0}, inf, -inf, nan, 1e-2500L}) {
    TElipticParabolloid p;
    p.SetParams(span, 10, 1, 1);
    EXPECT_EQ(p.Kx, 0) << span;
    EXPECT_EQ(p.Ky, 0.08L);
    // A tiny span is still a plan; only its square underflows.
    if (span != 1e-2500L) {
      EXPECT_EQ(p.CalcZ(1, 1), 0) << span;
    }
    EXPECT_TRUE(std::isfinite(p.CalcZ(1, 1))) << span;
    p.SetParams(10, span, 1, 1);
    EXPECT_EQ(p.Ky, 0) << span;
    EXPECT_TRUE(std::isfinite(p.CalcZ(1, 1))) << span;

    TSphere s;
    s.SetParams(span, 2);
    EXPECT_EQ(s.Kx, 0) << span;
    EXPECT_EQ(s.Ky, 0) << span;
    EXPECT_EQ(s.CalcZ(1, 1), 0) << span;
  }
}

// ---- parameters and curvatures ----

TEST(Paraboloid, CurvaturesFollowTheRisesAndTheParameterArray) {
  TElipticParabolloid s;
  s.SetParams(4, 8, 2, 4);
  EXPECT_EQ(s.Kx, 1);  // 8 * 2 / 16
  EXPECT_EQ(s.Ky, 0.5L);
  s.SetKxy(7);
  s.SetA(8);  // a span alone leaves the curvatures
  EXPECT_EQ(s.Kx, 1);
  EXPECT_EQ(s.Kxy, 7);
  s.SetF1(2);
  EXPECT_EQ(s.Kx, 0.25L);
  EXPECT_EQ(s.Kxy, 0);
  s.SetParamsArray({2, 4, 1, 1});
  EXPECT_EQ(s.Kx, 2);
  EXPECT_EQ(s.Ky, 0.5L);
  EXPECT_EQ(s.GetF(), 2);
  EXPECT_EQ(s.GetF1(), 1);
  EXPECT_EQ(s.GetF2(), 1);
}

TEST(Sphere, EveryChangeOfSideOrRiseSetsTheCurvatures) {
  TSphere s;
  EXPECT_EQ(s.Kx, 0);
  s.SetParams(10, 2);
  EXPECT_EQ(s.Kx, 0.16L);
  EXPECT_EQ(s.Ky, 0.16L);
  EXPECT_EQ(s.GetR(), 6.25L);
  s.SetKxy(3);
  s.SetA(20);
  EXPECT_EQ(s.Kx, 0.04L);
  EXPECT_EQ(s.Ky, 0.04L);
  EXPECT_EQ(s.Kxy, 0);
  EXPECT_EQ(s.GetR(), 6.25L);  // the side alone does not touch the radius
  s.SetF(1);
  EXPECT_EQ(s.Kx, 0.02L);
  EXPECT_EQ(s.GetR(), 50);
  s.SetParams(20, 0);  // no rise: the radius keeps its value
  EXPECT_EQ(s.Kx, 0);
  EXPECT_EQ(s.GetR(), 50);
  s.SetF(0);
  EXPECT_EQ(s.GetR(), 0);
  s.SetParamsArray({4, 1, 7});
  EXPECT_EQ(s.Kx, 0.5L);
  EXPECT_EQ(s.Ky, 0.5L);
  EXPECT_EQ(s.GetR(), 7);
}

TEST(Surfaces, ParameterArrayCopiesTheCommonEntries) {
  TBaseShellFuncs s;
  s.SetParamsArray({1, 2});
  EXPECT_EQ(s.Params, (std::vector<Extended>{1, 2, 0, 0}));
  s.SetParamsArray({5, 6, 7, 8, 9});
  EXPECT_EQ(s.Params, (std::vector<Extended>{5, 6, 7, 8}));
  s.SetParamCount(0);
  s.SetParamsArray({3, 4, 5});
  EXPECT_EQ(s.Params, (std::vector<Extended>{3, 4, 5}));
  s.SetParamCount(-5);
  EXPECT_EQ(s.GetParamCount(), 0);
  s.SetParamCount(6);
  EXPECT_EQ(s.Params, std::vector<Extended>(6, 0));
}

TEST(Surfaces, CurvaturesOfASurfaceWithoutParametersAreRefused) {
  TElipticParabolloid p;
  p.SetParamCount(0);
  try {
    p.CalcCurvatures();
    FAIL();
  } catch (const ShellException& e) {
    EXPECT_EQ(e.what(), kNoParams);
  }
  TSphere s;
  s.SetParamCount(0);
  try {
    s.CalcCurvatures();
    FAIL();
  } catch (const ShellException& e) {
    EXPECT_EQ(e.what(), kNoParams);
  }
}

TEST(Surfaces, TooFewParametersReadAsZeroAndSettersFillTheKindsArray) {
  TEditorShellEP p;
  p.SetParamCount(1);
  p.Params[0] = 10;
  EXPECT_EQ(p.GetB(), 0);
  EXPECT_EQ(p.GetF(), 0);
  EXPECT_EQ(p.GetZ(5, 5), 0);  // b = 0
  EXPECT_FALSE(p.Contains(5, 1));
  EXPECT_TRUE(p.Contains(5, 0));
  p.CalcCurvatures();
  EXPECT_EQ(p.Kx, 0);
  p.SetF2(1);
  EXPECT_EQ(p.Params, (std::vector<Extended>{10, 0, 0, 1}));
  EXPECT_EQ(p.Ky, 0);

  TEditorSphere s;
  s.SetParamCount(0);
  EXPECT_EQ(s.GetA(), 0);
  EXPECT_EQ(s.GetR(), 0);
  EXPECT_EQ(s.GetZ(1, 1), 0);
  s.CheckVisible(Window());
  s.SetF(2);
  EXPECT_EQ(s.GetParamCount(), 3);
  EXPECT_EQ(s.GetR(), 0);  // a is 0
}

// ---- placement ----

struct ContainsCase {
  std::uint8_t Plane;
  Extended X, Y;
  bool In;
};

TEST(EditorParaboloid, ContainsByPlaneWithInclusiveBounds) {
  TEditorShellEP s;
  s.SetParams(10, 4, 1, 1);
  s.SetOrigin(FloatPoint3D(1, 2, 3));
  const ContainsCase cases[] = {
      {0, 1, 2, true},      {0, 11, 6, true},      {0, 6, 4, true},       {0, 0.999L, 2, false},
      {0, 11.001L, 6, false}, {0, 1, 6.001L, false}, {0, 1, 1.999L, false},
      {1, 3, 4, true},      {1, 12, 7, true},      {1, 1, 2, false},      {1, 12.01L, 7, false},
      {2, 1, 3, true},      {2, 11, 7, true},      {2, 1, 2, false},
      {3, 1, 2, false},     {3, 6, 4, false},      {7, 6, 4, false},
  };
  for (const ContainsCase& c : cases) {
    s.SetPlane(c.Plane);
    EXPECT_EQ(s.Contains(c.X, c.Y), c.In) << int(c.Plane) << ": " << c.X << ", " << c.Y;
  }
}

TEST(EditorSphere, ContainsTheSquareAroundItsCentre) {
  TEditorSphere s;
  s.SetOrigin(FloatPoint3D(0, 0, 20));
  const ContainsCase cases[] = {
      {0, 5, 5, true},   {0, -5, -5, true},     {0, 0, 0, true},       {0, 5.0001L, 0, false}, {0, 0, -5.0001L, false},
      {1, 0, 15, true},  {1, 0, 14.99L, false}, {2, -5, 25, true},     {2, -5, 25.01L, false}, {3, 0, 0, false},
  };
  for (const ContainsCase& c : cases) {
    s.SetPlane(c.Plane);
    EXPECT_EQ(s.Contains(c.X, c.Y), c.In) << int(c.Plane) << ": " << c.X << ", " << c.Y;
  }
}

TEST(EditorSurfaces, HeightOffThePlanPlaneIsZero) {
  TEditorShellEP p;
  p.SetOrigin(FloatPoint3D(1, 2, 3));
  p.SetPlane(1);
  ASSERT_TRUE(p.Contains(2 + 1, 3 + 1));
  EXPECT_EQ(p.GetZ(3, 4), 0);
  EXPECT_EQ(p.GetZ(100, -100), 0);

  TEditorSphere s;
  s.SetPlane(2);
  EXPECT_EQ(s.GetZ(4, 4), 0);

  // No plane: nothing is computed, the last height stays.
  p.SetPlane(0);
  p.GetZ(6, 7);
  ASSERT_EQ(p.LastZ, -2);
  p.SetPlane(3);
  EXPECT_EQ(p.GetZ(6, 7), 0);
  EXPECT_EQ(p.LastZ, -2);
}

TEST(EditorParaboloid, HeightIsMeasuredFromTheOrigin) {
  TEditorShellEP s;
  s.SetOrigin(FloatPoint3D(-20, 30, 0));
  EXPECT_EQ(s.GetZ(-15, 35), -2);
  EXPECT_EQ(s.GetZ(-15, 30), -1);
  EXPECT_EQ(s.GetZ(-100, 100), 0);
}

// ---- screen rectangle, visibility, drawing ----

TEST(EditorSurfaces, ScreenRectIsThePlanClippedToTheWindow) {
  const TViewTransform w = Window();
  TEditorShellEP p;
  p.SetParams(4, 2, 1, 1);
  p.SetOrigin(FloatPoint3D(2, 3, 0));
  p.CalcScreenRect(w);
  EXPECT_EQ(p.TopLeft, (TPoint{20, 50}));
  EXPECT_EQ(p.BottomRight, (TPoint{60, 70}));

  p.SetOrigin(FloatPoint3D(8, -2, 0));  // reaches past the right and bottom sides
  p.SetParams(5, 5, 1, 1);
  p.CalcScreenRect(w);
  EXPECT_EQ(p.TopLeft, (TPoint{80, 70}));
  EXPECT_EQ(p.BottomRight, (TPoint{100, 100}));

  TEditorSphere s;
  s.SetParams(4, 1);
  s.SetOrigin(FloatPoint3D(5, 5, 0));
  s.CalcScreenRect(w);
  EXPECT_EQ(s.TopLeft, (TPoint{30, 30}));
  EXPECT_EQ(s.BottomRight, (TPoint{70, 70}));
}

TEST(EditorSurfaces, ScreenRectIsKeptOutsideThePlanView) {
  TEditorSphere s;
  s.SetOrigin(FloatPoint3D(5, 5, 0));
  s.SetTopLeft({1, 2});
  s.SetBottomRight({3, 4});
  s.CalcScreenRect(Window(1));
  EXPECT_EQ(s.TopLeft, (TPoint{1, 2}));
  EXPECT_EQ(s.BottomRight, (TPoint{3, 4}));
  s.SetPlane(2);
  s.CalcScreenRect(Window(0));
  EXPECT_EQ(s.TopLeft, (TPoint{1, 2}));
  EXPECT_EQ(s.BottomRight, (TPoint{3, 4}));
}

struct VisibleCase {
  const char* Name;
  Extended Xo, Yo, A, B;
  std::uint8_t Visible;
};

TEST(EditorParaboloid, VisibleWhenACornerLiesInTheWindowWithinTolerance) {
  const VisibleCase cases[] = {
      {"inside", 2, 3, 4, 2, 1},
      {"only the top-right corner in", -5, -5, 6, 6, 1},
      {"corner 0.005 past the right side", 10.005L, 5, 3, 1, 1},
      {"corner 0.01 below the bottom", 5, -1.01L, 3, 1, 1},
      {"corner 0.02 past the right side", 10.02L, 5, 3, 1, 0},
      {"far away", 50, 50, 3, 3, 0},
      {"plan covers the whole window", -10, -10, 40, 40, 0},
  };
  for (const VisibleCase& c : cases) {
    TEditorShellEP s;
    s.SetParams(c.A, c.B, 1, 1);
    s.SetOrigin(FloatPoint3D(c.Xo, c.Yo, 0));
    s.SetVisible(7);
    s.CheckVisible(Window());
    EXPECT_EQ(s.Visible, c.Visible) << c.Name;
  }
}

TEST(EditorSurfaces, OnlyThePlanViewOfAnXYSurfaceShowsTheContour) {
  TEditorSphere s;
  s.SetOrigin(FloatPoint3D(5, 5, 5));
  s.CheckVisible(Window(0));
  ASSERT_EQ(s.Visible, 1);
  for (std::uint8_t projection : {1, 2, 7}) {
    s.SetVisible(1);
    s.CheckVisible(Window(projection));
    EXPECT_EQ(s.Visible, 0) << int(projection);
  }
  for (std::uint8_t plane : {1, 2, 3}) {
    s.SetPlane(plane);
    s.SetVisible(1);
    s.CheckVisible(Window(0));
    EXPECT_EQ(s.Visible, 0) << int(plane);
  }
}

TEST(EditorSurfaces, DrawRectangleWithThickPenAndRestoresTheCanvas) {
  RecordingCanvas c;
  c.Pen = CanvasPen{0x123456, 1, PenStyle::Dot, PenMode::NotXor};
  c.Brush = CanvasBrush{0x00FF00, BrushStyle::Cross};
  const CanvasPen pen = c.Pen;
  const CanvasBrush brush = c.Brush;

  TEditorShellEP p;
  p.SetParams(4, 2, 1, 1);
  p.SetOrigin(FloatPoint3D(2, 3, 0));
  p.SetColor(0x0000FF00);
  p.CalcScreenRect(Window());
  p.Draw(c);
  TEditorSphere s;
  s.SetTopLeft({1, 2});
  s.SetBottomRight({30, 40});
  s.Draw(c);  // drawn whatever Visible says: the list decides

  ASSERT_EQ(c.Calls.size(), 2u);
  const CanvasCall& r = c.Calls[0];
  EXPECT_EQ(r.Op, CanvasOp::Rectangle);
  EXPECT_EQ(r.Points, (std::vector<TPoint>{{20, 50}, {60, 70}}));
  EXPECT_EQ(r.Pen, (CanvasPen{0x0000FF00, 3, PenStyle::Solid, PenMode::Copy}));
  EXPECT_EQ(r.Brush.Style, BrushStyle::Clear);
  EXPECT_EQ(c.Calls[1].Points, (std::vector<TPoint>{{1, 2}, {30, 40}}));
  EXPECT_EQ(c.Calls[1].Pen.Color, 255u);
  EXPECT_EQ(c.Pen, pen);
  EXPECT_EQ(c.Brush, brush);
}

// ---- records ----

TEST(EditorParaboloid, RecordBytes) {
  TEditorShellEP s;
  s.SetPlane(2);
  s.SetOrigin(FloatPoint3D(1, 0, 0));
  s.Origin.PadY[0] = 0x5A;
  s.SetColor(0x00112233);
  const Bytes b = Save(s);
  ASSERT_EQ(b.size(), 2u + 1 + 4 + 40 + 1 + 48 + 4);
  EXPECT_EQ(Slice(b, 0, 7), (Bytes{0, 0, 0, 4, 0, 0, 0}));
  EXPECT_EQ(Slice(b, 7, 10), kTen);
  EXPECT_EQ(Slice(b, 17, 10), kTen);
  EXPECT_EQ(Slice(b, 27, 10), kOne);
  EXPECT_EQ(Slice(b, 37, 10), kOne);
  EXPECT_EQ(b[47], 2);
  EXPECT_EQ(Slice(b, 48, 10), kOne);
  EXPECT_EQ(Slice(b, 58, 6), Bytes(6, 0));
  EXPECT_EQ(Slice(b, 64, 10), Bytes(10, 0));
  EXPECT_EQ(Slice(b, 74, 6), (Bytes{0x5A, 0, 0, 0, 0, 0}));  // padding as held
  EXPECT_EQ(Slice(b, 96, 4), (Bytes{0x33, 0x22, 0x11, 0x00}));
}

TEST(EditorSphere, RecordBytes) {
  TEditorSphere s;
  const Bytes b = Save(s);
  ASSERT_EQ(b.size(), 2u + 1 + 4 + 30 + 1 + 48 + 4);
  EXPECT_EQ(Slice(b, 0, 7), (Bytes{3, 0, 0, 3, 0, 0, 0}));
  EXPECT_EQ(Slice(b, 7, 10), kTen);
  EXPECT_EQ(Slice(b, 17, 10), kTwo);
  EXPECT_EQ(Slice(b, 27, 10), kSixAndAQuarter);
  EXPECT_EQ(b[37], 0);
  EXPECT_EQ(Slice(b, 38, 48), Bytes(48, 0));
  EXPECT_EQ(Slice(b, 86, 4), (Bytes{0xFF, 0, 0, 0}));
}

TEST(EditorSurfaces, RoundTripKeepsFlagPaddingAndSurplusParameters) {
  TEditorShellEP p;
  p.SetParamsArray({3, 7, 0.5L, -0.25L});
  p.Params.push_back(42);  // a surplus entry is kept and written back
  p.Flag = 9;
  p.SetPlane(1);
  p.SetOrigin(FloatPoint3D(-1.5L, 2, 1e300L));
  p.Origin.PadX = {1, 2, 3, 4, 5, 6};
  p.SetColor(0xABCDEF);
  p.SetKx(99);
  const Bytes b = Save(p);
  TEditorShellEP back;
  BinaryReader r(b);
  back.LoadFromStream(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(back.Params, p.Params);
  EXPECT_EQ(back.Flag, 9);
  EXPECT_EQ(back.Plane, 1);
  EXPECT_EQ(back.Origin.Z, 1e300L);
  EXPECT_EQ(back.Origin.PadX, p.Origin.PadX);
  EXPECT_EQ(back.Color, 0xABCDEFu);
  EXPECT_EQ(back.Kx, 8 * 0.5L / 9);  // curvatures come from the parameters read
  EXPECT_EQ(back.Ky, 8 * -0.25L / 49);
  EXPECT_EQ(Save(back), b);

  TEditorSphere s;
  s.SetParams(6, 1.5L);
  s.Flag = 1;
  s.SetOrigin(FloatPoint3D(4, 5, 6));
  const Bytes sb = Save(s);
  TEditorSphere sback;
  sback.SetParams(1, 1);
  BinaryReader sr(sb);
  sback.LoadFromStream(sr);
  EXPECT_TRUE(sr.AtEnd());
  EXPECT_EQ(sback.Params, s.Params);
  EXPECT_EQ(sback.Kx, 2 * 1.5L / 9);
  EXPECT_EQ(sback.Ky, sback.Kx);
  EXPECT_EQ(Save(sback), sb);
}

template <class S>
std::string LoadError(S& target, const Bytes& b) {
  BinaryReader r(b);
  try {
    target.LoadFromStream(r);
  } catch (const ShellException& e) {
    return e.what();
  }
  return "(loaded)";
}

TEST(EditorSurfaces, RecordOfTheOtherKindIsRefusedAndChangesNothing) {
  TEditorShellEP p;
  p.SetOrigin(FloatPoint3D(1, 2, 3));
  TEditorSphere s;
  s.SetColor(7);
  const Bytes pBefore = Save(p), sBefore = Save(s);
  EXPECT_EQ(LoadError(p, sBefore), kNotParaboloid);
  EXPECT_EQ(LoadError(s, pBefore), kNotSphere);
  EXPECT_EQ(Save(p), pBefore);
  EXPECT_EQ(Save(s), sBefore);

  TElipticParabolloid plain;
  EXPECT_EQ(LoadError(plain, BaseRecord(1, 4, 4)), kNotParaboloid);
  TSphere plainSphere;
  EXPECT_EQ(LoadError(plainSphere, BaseRecord(0, 3, 3)), kNotSphere);
}

struct CountCase {
  std::int32_t Count;
  std::size_t Written;
};

TEST(EditorSurfaces, HostileParameterCountsAreRefusedAndChangeNothing) {
  const CountCase paraboloid[] = {{-1, 0}, {INT32_MIN, 0}, {0, 0}, {1, 1}, {3, 3}, {1000000000, 4}, {10, 4}};  // 10 parameters need more than the 93 bytes left
  for (const CountCase& c : paraboloid) {
    TEditorShellEP s;
    const Bytes before = Save(s);
    Bytes b = BaseRecord(kShellParaboloid, c.Count, c.Written);
    b.resize(b.size() + 53, 0);  // plane, origin and colour
    EXPECT_EQ(LoadError(s, b), kBadCount) << c.Count;
    EXPECT_EQ(Save(s), before) << c.Count;
  }
  const CountCase sphere[] = {{-1, 0}, {0, 0}, {1, 1}, {2, 2}, {1000000000, 3}, {9, 3}};
  for (const CountCase& c : sphere) {
    TEditorSphere s;
    const Bytes before = Save(s);
    Bytes b = BaseRecord(kShellSphere, c.Count, c.Written);
    b.resize(b.size() + 53, 0);
    EXPECT_EQ(LoadError(s, b), kBadCount) << c.Count;
    EXPECT_EQ(Save(s), before) << c.Count;
  }
}

TEST(Surfaces, BaseRecordChecksItsCountAgainstTheBytesLeft) {
  TBaseShellFuncs s;
  for (std::int32_t n : {-1, 1000000000, 2}) {
    EXPECT_EQ(LoadError(s, BaseRecord(5, n, 1)), kBadCount) << n;
    EXPECT_EQ(s.Kind, 0);
    EXPECT_EQ(s.GetParamCount(), 4);
  }
  EXPECT_EQ(LoadError(s, BaseRecord(5, 1, 1)), "(loaded)");
  EXPECT_EQ(s.Kind, 5);
  EXPECT_EQ(s.Params, std::vector<Extended>{1});
}

TEST(EditorSurfaces, RecordCutShortIsAFormatErrorAndChangesNothing) {
  TEditorSphere src;
  src.SetParams(8, 1);
  src.SetPlane(2);
  const Bytes full = Save(src);
  for (std::size_t n : {std::size_t{0}, std::size_t{2}, std::size_t{6}, std::size_t{36}, std::size_t{37}, std::size_t{60}, full.size() - 1}) {
    TEditorSphere target;
    const Bytes before = Save(target);
    Bytes cut(full.begin(), full.begin() + n);
    BinaryReader r(cut);
    EXPECT_ANY_THROW(target.LoadFromStream(r)) << n;
    EXPECT_EQ(Save(target), before) << n;
  }
}

}  // namespace
}  // namespace tavir
