# Compile options shared by every target of Tovi's own code: UTF-8 sources,
# code page 932 narrow literals, strict warnings.
add_library(tovi_options INTERFACE)
if(MSVC)
  # Visual Studio: the same character sets. Its warnings are not known to be
  # clean (not built here), so they do not stop the build.
  target_compile_options(tovi_options INTERFACE /source-charset:utf-8 /execution-charset:.932 /W3)
  target_compile_definitions(tovi_options INTERFACE _CRT_SECURE_NO_WARNINGS)
else()
  target_compile_options(tovi_options INTERFACE
    -finput-charset=UTF-8
    # clang knows no other execution character set; it only builds the fuzzers.
    $<$<CXX_COMPILER_ID:GNU>:-fexec-charset=cp932>
    -Wall -Wextra -Wshadow -Wundef -Wmissing-declarations
    $<$<BOOL:${TOVI_WERROR}>:-Werror>)
endif()

if(NOT WIN32 AND CMAKE_BUILD_TYPE STREQUAL "Debug")
  target_compile_definitions(tovi_options INTERFACE _GLIBCXX_ASSERTIONS)
endif()

if(TOVI_FUZZ)
  target_compile_options(tovi_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                         -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # libFuzzer's convention: code may bound its work for fuzzing.
  target_compile_definitions(tovi_options INTERFACE FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION)
  target_link_options(tovi_options INTERFACE -fsanitize=address,undefined)
endif()

if(TOVI_SANITIZE)
  set(_tovi_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(tovi_options INTERFACE ${_tovi_san})
  target_link_options(tovi_options INTERFACE ${_tovi_san})
endif()

# Product libraries follow the no-exceptions design; tests keep them for GoogleTest.
add_library(tovi_product_options INTERFACE)
target_link_libraries(tovi_product_options INTERFACE tovi_options)
if(NOT MSVC)
  target_compile_options(tovi_product_options INTERFACE -fno-exceptions)
endif()
