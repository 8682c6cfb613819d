// deps: core
// Loading language files: a realistic translation of every entry, and 10 MB of garbage that must neither crash
// nor hold up the program's start (goal: well under a second).

#include "core/device_model.h"
#include "core/lang_texts.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
  return path;
}

// Random bytes with the format's keys and signs mixed in, and long lines as well as short ones.
QByteArray Garbage(qsizetype size, bool withLineEnds) {
  std::mt19937 rng(4711);
  const char* pieces[] = {"STR", " = ", "\xC2\xB6", "\xB6", "/#/", "-", "799", "800", "12", "  "};
  QByteArray data;
  data.reserve(size + 16);
  while (data.size() < size) {
    const unsigned r = rng();
    if (r % 4 == 0) {
      data += pieces[(r >> 8) % std::size(pieces)];
    } else if (withLineEnds && r % 97 == 1) {
      data += (r >> 8) % 2 ? "\r\n" : "\n";
    } else {
      char c = char(rng() & 0xFF);
      if (!withLineEnds && (c == '\r' || c == '\n')) c = 'x';
      data += c;
    }
  }
  return data;
}

void BM_LoadLanguage_Translation(benchmark::State& state) {
  QTemporaryDir dir;
  QByteArray file = "\xEF\xBB\xBF";
  for (int i = 0; i < Lang_Max; ++i) file += "STR" + QByteArray::number(i) + " = Testo tradotto numero " +
                                            QByteArray::number(i) + " \xC3\xA8 /#/ nota\r\n";
  WriteFile(dir, QStringLiteral("Italiano.lng"), file);
  Dir_Language = dir.path();
  for (auto _ : state) {
    Lang_Selected = QStringLiteral("Italiano");
    Load_Language();
    benchmark::DoNotOptimize(Lang_Texts.constData());
  }
  state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_LoadLanguage_Translation)->Unit(benchmark::kMicrosecond);

void BM_LoadLngFile_Garbage10MB(benchmark::State& state) {
  QTemporaryDir dir;
  const QByteArray data = Garbage(10 * 1024 * 1024, state.range(0) != 0);
  const QString path = WriteFile(dir, QStringLiteral("Garbage.lng"), data);
  Load_Default_Texts();
  for (auto _ : state) {
    benchmark::DoNotOptimize(Load_Lng_File(path));
  }
  state.SetBytesProcessed(state.iterations() * data.size());
}
// 0: one 10 MB line; 1: many lines.
BENCHMARK(BM_LoadLngFile_Garbage10MB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
