# Writes the manual in the two forms Tamsel ships: Shift-JIS with CR LF (what
# a Windows user of the tool expects) and UTF-8 with LF, from one UTF-8 source.
# Called as: cmake -DSOURCE=... -DSJIS=... -DUTF8=... -DICONV=... -P make_manual.cmake
file(READ "${SOURCE}" text)
file(WRITE "${UTF8}" "${text}")
string(REPLACE "\n" "\r\n" crlf "${text}")
file(WRITE "${SJIS}.utf8-crlf" "${crlf}")
execute_process(COMMAND "${ICONV}" -f UTF-8 -t CP932 "${SJIS}.utf8-crlf"
                OUTPUT_FILE "${SJIS}" RESULT_VARIABLE status)
file(REMOVE "${SJIS}.utf8-crlf")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "iconv could not convert the manual to Shift-JIS")
endif()
