# cmake -DICONV=iconv -DIN=utf8.txt -DOUT=cp932.txt -P ToCp932Text.cmake
# Writes IN as code page 932 with CR LF line ends; fails on a character
# code page 932 cannot hold rather than dropping it.
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}.utf8" "${text}")
execute_process(COMMAND "${ICONV}" -f UTF-8 -t CP932 "${OUT}.utf8"
                OUTPUT_FILE "${OUT}.tmp" RESULT_VARIABLE result)
file(REMOVE "${OUT}.utf8")
if(NOT result EQUAL 0)
  file(REMOVE "${OUT}.tmp")
  message(FATAL_ERROR "${IN}: not convertible to code page 932")
endif()
file(RENAME "${OUT}.tmp" "${OUT}")
