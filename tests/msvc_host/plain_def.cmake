# Writes INPUT to OUTPUT, dropping the argument sizes (@N) of the names unless
# ARCHITECTURE is i386, whose __stdcall imports are decorated with them.
file(READ ${INPUT} text)
if(NOT ARCHITECTURE STREQUAL "i386")
  string(REGEX REPLACE "@[0-9]+" "" text "${text}")
endif()
file(WRITE ${OUTPUT} "${text}")
