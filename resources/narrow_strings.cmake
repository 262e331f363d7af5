# Writes OUTPUT: strings.inc (INPUT) with narrow literals in place of the wide ones.
# windres reads the UTF-8 bytes of a wide literal one by one, sign-extended, but decodes a
# narrow literal in code page 65001 properly; either way the resource holds UTF-16.
file(READ ${INPUT} texts)
string(REGEX REPLACE "(M5_STRING\\([0-9]+, *)L\"" "\\1\"" texts "${texts}")
file(WRITE ${OUTPUT}.tmp "${texts}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
