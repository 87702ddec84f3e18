# Writes OUTPUT, a C++ source whose function FUNCTION returns the bytes of INPUT.
# Run as: cmake -DINPUT=... -DOUTPUT=... -DFUNCTION=... -DHEADER=... -P EmbedFile.cmake
if(EXISTS "${INPUT}")
    file(READ "${INPUT}" hex HEX)
else()
    set(hex "")
endif()
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
if(size EQUAL 0)
    set(bytes "0x00")
endif()
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT}; do not edit.
#include \"${HEADER}\"

namespace {
const std::uint8_t kData[] = {
${bytes}
};
} // namespace

std::span<const std::uint8_t> ${FUNCTION}() { return {kData, ${size}}; }
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
