// The scanner: strings, comments and double-byte characters decide which
// words are expanded, and the lexical state carries from line to line.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "tests/engine/EngineTestSupport.h"

using EngineTest::Case;
using EngineTest::CrLf;
using EngineTest::Lf;

namespace {

class ScannerTest : public EngineTest::Fixture {};

// X is defined as 1 before each row's lines; directive lines are removed.
std::string WithX(const std::string& lines) { return "#define X 1\n" + lines; }

}  // namespace

TEST_F(ScannerTest, StringsAndCommentsKeepNames) {
  const Case cases[] = {
      {"a string keeps names and comment openers", WithX(Lf({"s = \"X // /* X\"; X"})),
       CrLf({"s = \"X // /* X\"; 1"}), "", 0},
      {"a line comment runs to the end of its line only", WithX(Lf({"X // X", "X"})),
       CrLf({"1 // X", "1"}), "", 0},
      {"a block comment hides directives until it ends",
       WithX(Lf({"X /* begin", "#define Y 2", "X */ X Y"})),
       CrLf({"1 /* begin", "#define Y 2", "X */ 1 Y"}), "", 0},
      {"an unterminated string continues on the next line",
       WithX(Lf({"s = \"abc", "#define Y 2", "X\" X Y"})),
       CrLf({"s = \"abc", "#define Y 2", "X\" 1 Y"}), "", 0},
      {"a comment opener in a directive opens nothing", WithX(Lf({"#define Z 1 /* note", "X"})),
       CrLf({"1"}), "", 0},
      {"a slash at the start of a line does not end a comment",
       WithX(Lf({"/* a *", "/ X", "*/ X"})), CrLf({"/* a *", "/ X", "*/ 1"}), "", 0},
      {"the slash of the opener's asterisk closes at once", WithX(Lf({"/*/ X"})), CrLf({"/*/ 1"}),
       "", 0},
      {"a backslash keeps the string open", WithX(Lf({"\"a\\\" X\" X"})), CrLf({"\"a\\\" X\" 1"}),
       "", 0},
      {"a backslash after a backslash still escapes", WithX(Lf({"\"a\\\\\" X\" X"})),
       CrLf({"\"a\\\\\" X\" 1"}), "", 0},
      {"a trail byte 0x5C does not escape", WithX(Lf({"\"\x95\x5c\" X"})), CrLf({"\"\x95\x5c\" 1"}),
       "", 0},
      {"a quote at the start of a line always ends a string", WithX(Lf({"\"\x95\x5c", "\" X"})),
       CrLf({"\"\x95\x5c", "\" 1"}), "", 0},
      {"a trail byte '*' does not close a comment", WithX(Lf({"/* \x83*/ X */ X"})),
       CrLf({"/* \x83*/ X */ 1"}), "", 0},
      {"a trail byte '\"' does not open a string", WithX(Lf({"\x81\" X"})), CrLf({"\x81\" 1"}), "",
       0},
      {"a string opened in a directive line opens nothing", WithX(Lf({"#define Q \"", "X"})),
       CrLf({"1"}), "", 0},
      // Runs longer than a block of sixteen bytes, ending inside the next.
      {"a long string ends at its first unescaped quote",
       WithX(Lf({"\"abcdefghijklmnopqrst\\\" X abcdefghijklmnopqrst\" X"})),
       CrLf({"\"abcdefghijklmnopqrst\\\" X abcdefghijklmnopqrst\" 1"}), "", 0},
      {"a trail byte 0x5C after a long run does not escape",
       WithX(Lf({"\"abcdefghijklmnopqrst\x95\x5c\" X"})),
       CrLf({"\"abcdefghijklmnopqrst\x95\x5c\" 1"}), "", 0},
      {"a long block comment ends at its first asterisk and slash",
       WithX(Lf({"/* abcdefghijklmnopqrst \x83*/ X abcdefghijklmnopqrst * / */ X"})),
       CrLf({"/* abcdefghijklmnopqrst \x83*/ X abcdefghijklmnopqrst * / */ 1"}), "", 0},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(ScannerTest, WordsEndAtDelimiters) {
  std::string manyWords, manyExpanded;  // more than a line's words looked up at once
  for (int i = 0; i < 100; ++i) {
    manyWords += i % 3 ? "X " : "a ";
    manyExpanded += i % 3 ? "1 " : "a ";
  }
  // Words of every length from 2 to 71 between X: words and X fall on
  // every place around the ends of 64-byte windows.
  std::string windows, windowsExpanded;
  for (int n = 2; n <= 71; ++n) {
    const std::string word = std::string(n - 1, 'a') + (n % 2 ? "X" : "_");
    windows += word + (n % 3 ? " X " : "+X,");
    windowsExpanded += word + (n % 3 ? " 1 " : "+1,");
  }
  const std::string a63(63, 'a'), a64(64, 'a'), a65(65, 'a'), pad(61, ' ');
  const Case cases[] = {
      {"every defined word of a long line is expanded in place", WithX(Lf({manyWords.c_str()})),
       CrLf({manyExpanded.c_str()}), "", 0},
      {"every delimiter byte ends a word",
       WithX(Lf({"X.X(X)-X[X]{X}X;X:X,X<X>X=X?X!X%X&X'X*X+X|X~X\\X\tX X/X\"\""})),
       CrLf({"1.1(1)-1[1]{1}1;1:1,1<1>1=1?1!1%1&1'1*1+1|1~1\\1\t1 1/1\"\""}), "", 0},
      {"word bytes join the name", WithX(Lf({"XY X1 _X #X $X @X ^X `X X\x7f \xa0X X\x80"})),
       CrLf({"XY X1 _X #X $X @X ^X `X X\x7f \xa0X X\x80"}), "", 0},
      {"a double-byte character joins a word", WithX(Lf({"X\x82\xa0 \x82\xa0X"})),
       CrLf({"X\x82\xa0 \x82\xa0X"}), "", 0},
      {"a name of double-byte characters is expanded",
       Lf({"#define \x8a\xbf 2",
           "\x8a\xbf+\x8a\xbf"
           "A"}),
       CrLf({"2+\x8a\xbf"
             "A"}),
       "", 0},
      {"a word ends where a comment or string starts", WithX(Lf({"X/*c*/X//c", "X\"s\""})),
       CrLf({"1/*c*/1//c", "1\"s\""}), "", 0},
      {"a long name is expanded only whole",
       Lf({"#define abcdefghijklmnopqrstuvwxyz_0123456789 2",
           "abcdefghijklmnopqrstuvwxyz_0123456789 abcdefghijklmnopqrstuvwxyz_01234567890 "
           "abcdefghijklmnopqrstuvwxyz_0123456789$ abcdefghijklmnopqrstuvwxyz_0123456789"}),
       CrLf({"2 abcdefghijklmnopqrstuvwxyz_01234567890 abcdefghijklmnopqrstuvwxyz_0123456789$ 2"}),
       "", 0},
      {"a double-byte character after a long run joins the word",
       WithX(Lf({"abcdefghijklmnopqrst\x95\x5cX X abcdefghijklmnopqrst\x95"})),
       CrLf({"abcdefghijklmnopqrst\x95\x5cX 1 abcdefghijklmnopqrst\x95 "}), "", 0},
      {"words meet window ends at every place", WithX(Lf({windows.c_str()})),
       CrLf({windowsExpanded.c_str()}), "", 0},
      {"names as long as a window and longer are expanded only whole",
       Lf({("#define " + a64 + " 2").c_str(), ("#define " + a65 + " 3").c_str(),
           (a63 + " " + a64 + " " + a65 + " " + a64 + "a" + a64 + " " + a65).c_str()}),
       CrLf({(a63 + " 2 3 " + a64 + "a" + a64 + " 3").c_str()}), "", 0},
      {"a double-byte character at a window's end joins its word",
       Lf({"#define X 1", "#define \x82\xa0X 2", (pad + "aX\x82\xa0X X \x82\xa0X").c_str(),
           (pad + "  X\x82X X").c_str(), (pad + "   \x82\xa0X X").c_str()}),
       CrLf({(pad + "aX\x82\xa0X 1 2").c_str(), (pad + "  X\x82X 1").c_str(),
             (pad + "   2 1").c_str()}),
       "", 0},
      {"a string or comment opened at a window's end keeps names",
       WithX(Lf({(pad + "  X\"X\" X").c_str(), (pad + "  X/*X*/X").c_str()})),
       CrLf({(pad + "  1\"X\" 1").c_str(), (pad + "  1/*X*/1").c_str()}), "", 0},
      {"a line of blanks and separators is copied", WithX(Lf({" \t;; ( ) "})), CrLf({" \t;; ( ) "}),
       "", 0},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(ScannerTest, LeadByteAtLineEndTakesTheAppendedSpace) {
  const Case cases[] = {
      {"in code the space joins the word", WithX(Lf({"X\x82", "X"})), CrLf({"X\x82 ", "1"}), "", 0},
      {"in a string the space is copied", WithX(Lf({"\"\x82", "\" X"})), CrLf({"\"\x82 ", "\" 1"}),
       "", 0},
      {"in a comment the space is copied", WithX(Lf({"// \x82"})), CrLf({"// \x82 "}), "", 0},
      {"a name ending in a lead byte and a space matches such a word",
       Lf({"#define \x82 \tV", "a \x82", "a \x82 b"}), CrLf({"a V", "a \x82 b"}), "", 0},
      {"the words before such a word are expanded first",
       Lf({"#define X 1", "#define \x82 \tV", "X a X \x82"}), CrLf({"1 a 1 V"}), "", 0},
  };
  for (const Case& row : cases) Check(row);
}

namespace {

// UTF-8 characters whose last byte is a lead byte of code page 932.
const std::string kA = "\xe3\x81\x82";      // HIRAGANA LETTER A
const std::string kValue = "\xe5\x80\xa4";  // a CJK ideograph
const std::string kMark = "\xef\xbb\xbf";   // the byte order mark

std::string Utf8(std::initializer_list<std::string> parts) {
  std::string text;
  for (const std::string& part : parts) text += part;
  return text;
}

}  // namespace

TEST_F(ScannerTest, Utf8TextIsScannedOnItsAsciiBytes) {
  const std::string example = Lf({"#define FOO bar", "puts(\"\xe3\x81\x82\"); FOO;",
                                  "puts(\"\xe6\x97\xa5\xe6\x9c\xac\"); FOO;"});
  const Case cases[] = {
      {"a quote after a multi-byte character ends the string", example,
       CrLf({"puts(\"\xe3\x81\x82\"); bar;", "puts(\"\xe6\x97\xa5\xe6\x9c\xac\"); bar;"}), "", 0,
       kSourceUtf8},
      {"... with directive lines kept", example,
       CrLf({"//#define FOO bar", "puts(\"\xe3\x81\x82\"); /*FOO*/bar;",
             "puts(\"\xe6\x97\xa5\xe6\x9c\xac\"); /*FOO*/bar;"}),
       "", 1, kSourceUtf8},
      {"... with the name after the value", example,
       CrLf({"//#define FOO bar", "puts(\"\xe3\x81\x82\"); bar/*FOO*/;",
             "puts(\"\xe6\x97\xa5\xe6\x9c\xac\"); bar/*FOO*/;"}),
       "", 2, kSourceUtf8},
      {"the byte order mark chooses UTF-8 and stays", kMark + example,
       kMark + CrLf({"puts(\"\xe3\x81\x82\"); bar;", "puts(\"\xe6\x97\xa5\xe6\x9c\xac\"); bar;"}),
       "", 0},
      {"... in every disposition", kMark + example,
       kMark + CrLf({"//#define FOO bar", "puts(\"\xe3\x81\x82\"); bar/*FOO*/;",
                     "puts(\"\xe6\x97\xa5\xe6\x9c\xac\"); bar/*FOO*/;"}),
       "", 2},
      {"without the mark code page 932 stays the default",
       WithX(Lf({Utf8({"\"", kA, "\" X"}).c_str()})), CrLf({Utf8({"\"", kA, "\" X"}).c_str()}), "",
       0},
      {"a backslash before a quote escapes it", WithX(Lf({Utf8({"\"", kA, "\\\" X\" X"}).c_str()})),
       CrLf({Utf8({"\"", kA, "\\\" X\" 1"}).c_str()}), "", 0, kSourceUtf8},
      {"a block comment ends after a multi-byte character",
       WithX(Lf({Utf8({"/* ", kA, "*/ X"}).c_str()})), CrLf({Utf8({"/* ", kA, "*/ 1"}).c_str()}),
       "", 0, kSourceUtf8},
      {"a comment or string at the end of a line takes no space",
       WithX(Lf({Utf8({"X // ", kA}).c_str(), Utf8({"\"", kA}).c_str(), "\" X"})),
       CrLf({Utf8({"1 // ", kA}).c_str(), Utf8({"\"", kA}).c_str(), "\" 1"}), "", 0, kSourceUtf8},
      {"multi-byte characters join words and delimiters end them",
       WithX(Lf({Utf8({"X", kA, " ", kA, "X ", kA, "(X)", kA}).c_str()})),
       CrLf({Utf8({"X", kA, " ", kA, "X ", kA, "(1)", kA}).c_str()}), "", 0, kSourceUtf8},
      {"a name of multi-byte characters is defined and expanded",
       Lf({Utf8({"#define ", kA, " V"}).c_str(), Utf8({kA, ";", kValue, kA}).c_str()}),
       CrLf({Utf8({"V;", kValue, kA}).c_str()}), "", 0, kSourceUtf8},
      {"a directive right after the mark is one", kMark + Lf({"#define X 1", "X"}),
       kMark + CrLf({"//#define X 1", "/*X*/1"}), "", 1},
  };
  for (const Case& row : cases) Check(row);
}
