#include "bench/program_bench.h"

#include <fstream>
#include <iterator>

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>

#include "editor/qt/dlg_new_task.h"
#include "scratch_folder.h"
#include "viewer/example_models.h"

namespace tavir::bench {

namespace {

// The files a run writes, removed when it ends.
const std::filesystem::path& BenchDir() {
  static const ScratchFolder folder("tavir-bench-programs");
  return folder.Path();
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

void AnswerOk(DialogsByName& answers, const std::string& boxName) {
  answers.Handlers[boxName] = [](QDialog& d) {
    if (auto* box = qobject_cast<QMessageBox*>(&d))
      if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
    return d.result();
  };
}

void AnswerNewTask(DialogsByName& answers, Extended x1, Extended y1, Extended x2, Extended y2) {
  answers.Accept("NewTaskDlg", [=](QDialog& d) {
    auto& dialog = static_cast<TNewTaskDlg&>(d);
    const Extended corners[6] = {x1, y1, -5, x2, y2, 5};
    for (int i = 0; i < 6; ++i) dialog.Coord[i]->setText(QString::number(static_cast<double>(corners[i])));
  });
}

std::string PlateFile(int n) {
  static std::map<int, std::string> written;
  auto& path = written[n];
  if (!path.empty()) return path;
  const auto file = BenchDir() / ("plate_" + std::to_string(n) + ".tps");
  WriteFile(file, examples::SimplySupportedPlate(n));
  path = file.string();
  return path;
}

std::string ExampleFile(const std::string& name) { return examples::ExamplePath(name); }

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace tavir::bench
