// The bundled templates generate C++ that compiles cleanly and behaves.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <sstream>

#include "common/TempDir.h"
#include "kestb/Generator.h"

namespace kestb {
namespace {

using xk::test::Slurp;
using xk::test::TempDir;

const std::string kHome = XK_SOURCE_DIR "/demo-home";

// Generates into out; returns the report.
std::string Generate(const std::string& dsm, const std::string& tem,
                     const std::string& out) {
  std::ostringstream report;
  int status = Run({dsm, kHome + "/templates/" + tem, out, "-nb", "-noini",
                    "-homedir", kHome, "-showfiles", "false", "-showsummary",
                    "false", "-nokwada", "true", "-nokwcxx", "false", "-ttrace",
                    "false", "-makebak", "false", "-backext", ""},
                   report);
  EXPECT_EQ(kOk, status) << report.str();
  return report.str();
}

// Runs a shell command in dir; on failure the test shows its output.
void Shell(const TempDir& dir, const std::string& command) {
  std::string line = "cd '" + dir.Path() + "' && (" + command + ") > log.txt 2>&1";
  int status = std::system(line.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << command << "\n" << Slurp(dir / "log.txt");
}

const char* kCxxFlags = "g++ -std=c++17 -Wall -Wextra -Werror";

// Every generated header on its own and every source file, for both C++
// templates, over the sample and over models with every type and shape.
TEST(BundledCxx, EveryFileCompilesOnItsOwn) {
  const char* everything =
      "model everything;\n"
      "record Empty {}\n"
      "record Tree { kids : list of Tree; leaf : Leaf; }\n"
      "record Leaf { i : int; l : long; f : float; d : double; b : bool;\n"
      "  c : char; s : string; nested : list of list of list of Empty; }\n";
  const char* mutual =  // lists both ways, and by value one way
      "model mutual;\n"
      "record A { bs : list of B; }\n"
      "record B { a : A; as : list of A; }\n";
  for (const char* tem : {"cpp_std.tem", "cpp_model.tem"}) {
    for (const char* model : {"", everything, mutual}) {
      SCOPED_TRACE(testing::Message() << tem << " over " << (*model ? model : "shop.dsm"));
      TempDir out;
      std::string dsm = kHome + "/shop.dsm";
      if (*model) dsm = out.Write("m.dsm", model);
      Generate(dsm, tem, out.Path());
      Shell(out, std::string(kCxxFlags) + " -fsyntax-only *.cxx -x c++ *.h");
    }
  }
}

// Comment text and names at the edge of what C++ takes: a comment ending
// in a backslash once continued onto the next generated line, and an
// unpaired bidirectional control was a warning.
TEST(BundledCxx, EdgeCommentsAndNamesStillCompile) {
  const char* model =
      "model edge;\n"
      "// Kept under C:\\temp\\\n"
      "record Folder {\n"
      "  dir : string;   // e.g. C:\\temp\\\n"
      "  tri : int;      // what?\?/\n"
      "  cr : char;      // one\rtwo\n"
      "  rlo : char;     // \xE2\x80\xAE reversed, never closed\n"
      "  a : int; os : int; Put : int; size_t : int; i : int; kids : list of Folder;\n"
      "}\n"
      "record b { x : int; }\n"
      "record v { x : b; }\n"
      "record T { y : v; }\n"
      "record edge { t : T; }\n";
  for (const char* tem : {"cpp_std.tem", "cpp_model.tem"}) {
    SCOPED_TRACE(tem);
    TempDir out;
    out.Write("m.dsm", model);
    Generate(out / "m.dsm", tem, out.Path());
    Shell(out, std::string(kCxxFlags) + " -fsyntax-only *.cxx -x c++ *.h");
  }
}

// A by-value ring closed through a list once left C.h including itself
// through A.h before C was defined; and a record held by value whose list
// element comes later failed under clang's C++20 library (the sample
// model). Every header first, then every source file.
TEST(BundledCxx, RingsThroughListsAndLaterElementsCompileWithClangCxx20) {
  const char* ring =
      "model ring;\n"
      "record A { c : C; }\n"
      "record B { as : list of A; }\n"
      "record C { b : B; }\n";
  for (const char* tem : {"cpp_std.tem", "cpp_model.tem"}) {
    for (const char* model : {"", ring}) {
      SCOPED_TRACE(testing::Message() << tem << " over " << (*model ? model : "shop.dsm"));
      TempDir out;
      std::string dsm = kHome + "/shop.dsm";
      if (*model) dsm = out.Write("m.dsm", model);
      Generate(dsm, tem, out.Path());
      Shell(out, "for h in *.h; do clang++ -std=c++20 -Wall -Wextra -Werror -pedantic "
                 "-fsyntax-only -x c++ $h || exit 1; done; "
                 "clang++ -std=c++20 -Wall -Wextra -Werror -pedantic -fsyntax-only *.cxx");
    }
  }
}

TEST(BundledCxx, GeneratedCodeComparesAndPrints) {
  TempDir out;
  Generate(kHome + "/shop.dsm", "cpp_std.tem", out.Path());
  out.Write("main.cpp",
            "#include \"Order.h\"\n"
            "#include <iostream>\n"
            "int main() {\n"
            "  shop::Order o;\n"
            "  o.customer.name = \"Ann\";\n"
            "  o.items.push_back({\"sku1\", 2, 1.5, 'A'});\n"
            "  shop::Order p = o;\n"
            "  if (!(o == p) || o != p) return 1;\n"
            "  p.items[0].quantity = 3;\n"
            "  if (o == p) return 2;\n"
            "  std::cout << o.items[0] << '\\n';\n"
            "  std::cout << shop::Item{\"say \\\"hi\\\"\", 0, 0, {}} << '\\n';\n"
            "}\n");
  Shell(out, std::string(kCxxFlags) + " main.cpp *.cxx -o main && ./main > run.txt");
  // A default char once printed as a NUL byte, and quotes went out bare.
  EXPECT_EQ("Item{sku=\"sku1\", quantity=2, price=1.5, grade=A}\n"
            "Item{sku=\"say \\\"hi\\\"\", quantity=0, price=0, grade=\\x00}\n",
            Slurp(out / "run.txt"));
}

}  // namespace
}  // namespace kestb
