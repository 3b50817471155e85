# cmake -DICONV=iconv -DREADME=dir/ReadMe.txt -DSOURCE=ReadMe.txt.in -DSCRATCH=file
#       -P CheckReadMe.cmake
# ReadMe.txt must be the source's text in code page 932 with CR LF.
if(NOT EXISTS "${README}")
  message(FATAL_ERROR "${README} is missing")
endif()
execute_process(COMMAND "${ICONV}" -f CP932 -t UTF-8 "${README}"
                OUTPUT_FILE "${SCRATCH}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${README} is not code page 932 text")
endif()
# file(READ) drops a CR before LF, so the text and the line ends are
# checked apart.
file(READ "${SCRATCH}" decoded)
file(REMOVE "${SCRATCH}")
file(READ "${SOURCE}" expected)
if(NOT decoded STREQUAL expected)
  message(FATAL_ERROR "${README} differs from ${SOURCE}")
endif()
file(READ "${README}" bytes HEX)
string(REGEX REPLACE "(..)" "\\1 " bytes "${bytes}")
string(REGEX MATCHALL "0a " lf "${bytes}")
string(REGEX MATCHALL "0d 0a " crlf "${bytes}")
list(LENGTH lf lfCount)
list(LENGTH crlf crlfCount)
if(lfCount EQUAL 0 OR NOT lfCount EQUAL crlfCount)
  message(FATAL_ERROR "${README}: ${crlfCount} of ${lfCount} line ends are CR LF")
endif()
