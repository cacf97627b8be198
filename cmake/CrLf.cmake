# Copies a text file with CR LF line ends, whatever ends it had:
#   cmake -DIN=<text file> -DOUT=<copy> -P CrLf.cmake
# The release's texts are read with Notepad, which older Windows shows as one
# long line when the lines end in LF alone.
if(NOT DEFINED IN OR NOT DEFINED OUT)
  message(FATAL_ERROR "usage: cmake -DIN=<file> -DOUT=<file> -P CrLf.cmake")
endif()
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
