// kestb_bench: whole generator runs (read, check, expand, write) against
// kestb's size-and-time budget:
//   - a 10 MB model of 100,000 records with a 1 MB template, under 10 s;
//   - each hostile shape at 1, 2, 4 and 8 MB, whose time must grow in
//     step with the size (the bytes/s column stays flat): long by-value
//     chains, deep list nesting, long comment runs, wide records, records
//     left open, a flood of stray bytes, and templates with many lines,
//     long lines of placeholders, repeated file names and deep nesting.
//
//   build/bench/kestb_bench
//   build/bench/kestb_bench --benchmark_filter=Shape/chain
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "kestb/Generator.h"

namespace {

// A scratch folder with the inputs, an output folder, and the run.
class Scratch {
 public:
  Scratch() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kestb-bench-XXXXXX").string();
    dir_ = ::mkdtemp(tmpl.data());
    std::filesystem::create_directory(dir_ + "/out");
    Write("part.inc", "${model}\n");
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << text;
  }
  // One run as the front end starts it; returns the status, report in report.
  int Run(std::string& report) const {
    std::ostringstream out;
    int status = kestb::Run({dir_ + "/m.dsm", dir_ + "/t.tem", dir_ + "/out", "-nb", "-noini",
                             "-showfiles", "false", "-nokwada", "true"},
                            out);
    report = out.str();
    return status;
  }
  std::uintmax_t OutputBytes() const {
    std::uintmax_t n = 0;
    for (auto& e : std::filesystem::directory_iterator(dir_ + "/out")) n += e.file_size();
    return n;
  }

 private:
  std::string dir_;
};

// Appends numbered pieces until the text reaches size bytes.
std::string Repeat(size_t size, const std::function<std::string(size_t)>& piece) {
  std::string s;
  for (size_t i = 0; s.size() < size; ++i) s += piece(i);
  return s;
}

const char* kSmallTemplate =
    "@file all.h\n@foreach record\nstruct ${record} { ${record.fields} };\n@end\n@end\n";

void BM_TenMegabyteModel(benchmark::State& state) {
  static const std::string dsm = [] {
    std::string s = "model big;\n";
    for (size_t i = 0; i < 100000; ++i) {
      std::string n = std::to_string(i);
      s += "// Record " + n + ".\n"
           "record R" + n + " {\n  id : long;\n  name : string;  // its name\n"
           "  next : list of R" + std::to_string(i + 1 < 100000 ? i + 1 : 0) + ";\n"
           "}\n";
    }
    return s;
  }();
  static const std::string tem = [] {
    std::string s = "@file big.h\n";
    s += Repeat(1000000, [](size_t i) {
      return "// notes on the model, line " + std::to_string(i) + " of the preamble text\n";
    });
    s += "@foreach record\n// ${record.comment}\nstruct ${record} {\n@foreach field\n"
         "  ${field.cxxtype} ${field}{};\n@end\n};\n@end\n@end\n";
    return s;
  }();
  Scratch scratch;
  scratch.Write("m.dsm", dsm);
  scratch.Write("t.tem", tem);
  std::string report;
  for (auto _ : state) {
    if (scratch.Run(report) != kestb::kOk) {
      state.SkipWithError(report.substr(0, 300).c_str());
      return;
    }
  }
  if (scratch.OutputBytes() < tem.size()) state.SkipWithError("output not written");
  state.counters["model_MB"] = double(dsm.size()) / 1e6;
  state.counters["template_MB"] = double(tem.size()) / 1e6;
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(dsm.size() + tem.size()));
}
BENCHMARK(BM_TenMegabyteModel)->Unit(benchmark::kMillisecond)->Iterations(1);

// A hostile shape: the DSM and template texts of about size bytes, and
// whether the run is meant to succeed.
struct Shape {
  std::function<std::string(size_t)> dsm, tem;
  bool ok;
};

const std::map<std::string, Shape>& Shapes() {
  static const std::map<std::string, Shape> shapes = {
      {"chain",  // each record holds the next by value
       {[](size_t n) {
          size_t links = 0;
          std::string s = Repeat(n, [&links](size_t i) {
            links = i + 1;
            return "record R" + std::to_string(i) + " { f : R" + std::to_string(i + 1) + "; }\n";
          });
          return s + "record R" + std::to_string(links) + " {}\n";
        },
        nullptr, true}},
      {"lists", {[](size_t n) { return "record L { f : " + Repeat(n, [](size_t) { return "list of "; }) + "int; }\n"; },
                 nullptr, false}},
      {"comments",
       {[](size_t n) {
          return Repeat(n, [](size_t) { return "// a comment line\\ kept above\n"; }) + "record C {}\n";
        },
        nullptr, true}},
      {"fields",
       {[](size_t n) {
          return "record W {\n" + Repeat(n, [](size_t i) { return " f" + std::to_string(i) + " : string;\n"; }) + "}\n";
        },
        nullptr, true}},
      {"open", {[](size_t n) { return Repeat(n, [](size_t i) { return "record O" + std::to_string(i) + " {\n"; }); },
                nullptr, false}},
      {"junk", {[](size_t n) { return std::string(n, '%'); }, nullptr, false}},
      {"temlines",
       {nullptr,
        [](size_t n) {
          return "@file t\n@foreach record\n" +
                 Repeat(n, [](size_t) { return "${record|upper} ${records} ${fields}${comma}\n"; }) + "@end\n@end\n";
        },
        true}},
      {"temline",
       {nullptr,
        [](size_t n) { return "@file t\n" + Repeat(n, [](size_t) { return "${model|cap}$$"; }) + "\n@end\n"; },
        true}},
      {"temsame",
       {nullptr,
        [](size_t n) { return Repeat(n, [](size_t) { return "@foreach record\n@file same\n@end\n@end\n"; }); },
        false}},
      {"temopen", {nullptr, [](size_t n) { return Repeat(n, [](size_t) { return "@if first\n"; }); }, false}},
      {"temincludes",  // past the bound on includes
       {nullptr, [](size_t n) { return "@file t\n" + Repeat(n, [](size_t) { return "@include part.inc\n"; }) + "@end\n"; },
        false}},
  };
  return shapes;
}

void BM_Shape(benchmark::State& state, const std::string& name) {
  const Shape& shape = Shapes().at(name);
  const size_t size = size_t(state.range(0)) << 20;
  const std::string dsm = shape.dsm ? shape.dsm(size) : "record A { x : int; }\nrecord B {}\n";
  const std::string tem = shape.tem ? shape.tem(size) : kSmallTemplate;
  Scratch scratch;
  scratch.Write("m.dsm", dsm);
  scratch.Write("t.tem", tem);
  std::string report;
  for (auto _ : state) {
    int status = scratch.Run(report);
    if ((status == kestb::kOk) != shape.ok || report.empty()) {
      state.SkipWithError(("unexpected outcome: " + report.substr(0, 300)).c_str());
      return;
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(dsm.size() + tem.size()));
}

const bool kRegistered = [] {
  for (const auto& [name, shape] : Shapes()) {
    benchmark::RegisterBenchmark(("Shape/" + name).c_str(), BM_Shape, name)
        ->RangeMultiplier(2)
        ->Range(1, 8)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
