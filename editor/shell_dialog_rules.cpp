#include "editor/shell_dialog_rules.h"

#include "model/project.h"
#include "model/shell_surfaces.h"
#include "platform/numtext.h"

namespace tavir {

const std::array<std::string, 2>& SurfaceKindItems() {
  static const std::array<std::string, 2> items{"Элиптический параболлоид", "Сфера"};
  return items;
}

std::int16_t SurfaceKindOfItem(int item, std::int16_t current) {
  if (item == 0) return kShellParaboloid;
  if (item == 1) return kShellSphere;
  return current;
}

std::optional<ShellFunctionTexts> FunctionTexts(std::int16_t kind) {
  if (kind == kShellParaboloid)
    return ShellFunctionTexts{"Эллиптический паррабаллоид",
                              "Z=f*[f1/f*(2*x/a - 1)^2 + f2/f*(2*y/b - 1)^2-1]",
                              "Kx=8f1/a^2",
                              "Ky=8f2/b^2",
                              "Kxy=0",
                              {"(по X) a=", "(по Y) b=", "Стрела f1", "Стрела f2"}};
  if (kind == kShellSphere)
    return ShellFunctionTexts{"Сфера", "Z=f*(x^2+y^2)/a^2", "Kx=2f/a^2", "Ky=2f/a^2", "Kxy=0",
                              {"пролет a=", "Стрела f"}};
  return std::nullopt;
}

std::optional<std::int32_t> ParamCountOfKind(std::int16_t kind) {
  if (kind == kShellParaboloid) return 4;
  if (kind == kShellSphere) return 2;
  return std::nullopt;
}

TPoint ParamLabelPos(int i) { return TPoint{(i / 5) * 208 + 6, (i % 5) * 33 + 38}; }
TPoint ParamBoxPos(int i) { return TPoint{(i / 5) * 210 + 90, (i % 5) * 33 + 34}; }

const std::array<std::string, kShellListColumns>& ShellListHeaders() {
  static const std::array<std::string, kShellListColumns> headers{
      "Название функции", "Xo", "Yo", "Zo", "Размер по X", "Размер по Y", "Цвет контура"};
  return headers;
}

std::array<std::string, kShellListColumns> ShellListRow(const TShellFunctions& shells, std::int32_t i) {
  std::array<std::string, kShellListColumns> row{};
  TBaseShellFuncs* s = shells.At(i);
  if (s == nullptr) return row;
  if (s->Kind >= 500 && s->Kind <= 1000) {
    row[0] = "Пользовательская";
    return row;
  }
  const auto fill = [&row](const char* name, const TFloatPoint3D& o, Extended sx, Extended sy) {
    row[0] = name;
    row[1] = FormatGeneral(o.X);
    row[2] = FormatGeneral(o.Y);
    row[3] = FormatGeneral(o.Z);
    row[4] = FormatGeneral(sx);
    row[5] = FormatGeneral(sy);
  };
  if (const TEditorShellEP* p = TShellFunctions::AsParaboloid(s); p != nullptr && s->Kind == kShellParaboloid)
    fill("Эллиптический параболлоид", p->Origin, p->GetA(), p->GetB());
  else if (const TEditorSphere* sp = TShellFunctions::AsSphere(s); sp != nullptr && s->Kind == kShellSphere)
    fill("Сфера", sp->Origin, sp->GetA(), sp->GetA());
  return row;
}

std::optional<RgbColor> ShellListColor(const TShellFunctions& shells, std::int32_t i) {
  TBaseShellFuncs* s = shells.At(i);
  if (const TEditorShellEP* p = TShellFunctions::AsParaboloid(s)) return p->Color;
  if (const TEditorSphere* sp = TShellFunctions::AsSphere(s)) return sp->Color;
  return std::nullopt;
}

std::optional<ShellDataValues> ShellEditStart(const TShellFunctions& shells, std::int32_t i) {
  TBaseShellFuncs* s = shells.At(i);
  ShellDataValues v;
  v.ChoiceEnabled = false;
  if (const TEditorShellEP* p = TShellFunctions::AsParaboloid(s)) {
    v.Kind = kShellParaboloid;
    v.Origin = p->Origin;
    v.ContourColor = p->Color;
    v.Params = {p->GetA(), p->GetB(), p->GetF1(), p->GetF2()};
    return v;
  }
  if (const TEditorSphere* sp = TShellFunctions::AsSphere(s)) {
    v.Kind = kShellSphere;
    v.Origin = sp->Origin;
    v.ContourColor = sp->Color;
    v.Params = {sp->GetA(), sp->GetF()};
    return v;
  }
  return std::nullopt;
}

bool ApplyShellEdit(TShellFunctions& shells, std::int32_t i, const ShellDataValues& values) {
  TBaseShellFuncs* s = shells.At(i);
  const auto param = [&values](std::size_t k) { return k < values.Params.size() ? values.Params[k] : Extended{0}; };
  if (TEditorShellEP* p = TShellFunctions::AsParaboloid(s); p != nullptr && values.Kind == kShellParaboloid &&
                                                             values.Params.size() >= 4) {
    p->SetParams(param(0), param(1), param(2), param(3));
    p->SetColor(values.ContourColor);
    return true;
  }
  if (TEditorSphere* sp = TShellFunctions::AsSphere(s); sp != nullptr && values.Kind == kShellSphere &&
                                                        values.Params.size() >= 2) {
    sp->SetParams(param(0), param(1));
    sp->SetColor(values.ContourColor);
    return true;
  }
  return false;
}

}  // namespace tavir
