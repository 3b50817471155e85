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
    # clang knows no other execution character set: see TOVI_CP932_LITERAL_COPIES.
    $<$<CXX_COMPILER_ID:GNU>:-fexec-charset=cp932>
    -Wall -Wextra -Wshadow -Wundef -Wmissing-declarations
    $<$<BOOL:${TOVI_WERROR}>:-Werror>)
endif()

# clang's narrow literals are UTF-8. With this on, every C++ file compiles
# from a copy whose narrow literals spell their code page 932 bytes as
# octal escapes (cmake/cp932-literals.py), so they equal g++'s.
option(TOVI_CP932_LITERAL_COPIES "Compile copies of the sources whose narrow literals are code page 932 (for clang)" OFF)
if(TOVI_CP932_LITERAL_COPIES)
  # The system interpreter: a version manager's shim would add a shell to every compile.
  find_program(TOVI_PYTHON3 python3 HINTS /usr/bin REQUIRED)
  find_program(TOVI_ICONV iconv REQUIRED)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${TOVI_PYTHON3} ${PROJECT_SOURCE_DIR}/cmake/cp932-literals.py
      --root ${PROJECT_SOURCE_DIR} --copies ${PROJECT_BINARY_DIR}/cp932-sources --iconv ${TOVI_ICONV}
      -- ${CMAKE_CXX_COMPILER_LAUNCHER})
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

# Product libraries and programs: no exceptions, and standard C++ only, the
# compiler-specific constructs being in foundation/Compiler.h under
# __extension__ where GCC and Clang would call them extensions. Tests keep
# exceptions and GoogleTest's extensions.
add_library(tovi_product_options INTERFACE)
target_link_libraries(tovi_product_options INTERFACE tovi_options)
if(NOT MSVC)
  target_compile_options(tovi_product_options INTERFACE -fno-exceptions -pedantic-errors)
endif()
