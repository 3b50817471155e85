// The encodings a source file can be read in, as Windows code page numbers.
#pragma once

constexpr int kSourceCp932 = 932;
constexpr int kSourceUtf8 = 65001;
