# Writes OUT, the C++ source of the copies built into the game (platform/sdl/builtin_files.h):
# each of FILES (paths under ROOT, such as bmp/face.bmp) as an array of its bytes, and the table
# kBuiltinFiles of their names, ended by an entry with no name. Run at build time: cmake -P.
set(arrays "")
set(entries "")
set(i 0)
foreach(name IN LISTS FILES)
  file(READ ${ROOT}/${name} hex HEX)
  # Sixteen bytes a line.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  string(REPEAT "0x..," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n    " hex "${hex}")
  string(APPEND arrays "const unsigned char kFile${i}[] = {\n    ${hex}};\n")
  string(APPEND entries "    {\"${name}\", kFile${i}, sizeof kFile${i}},\n")
  math(EXPR i "${i} + 1")
endforeach()
file(WRITE ${OUT}.new "// Written at build time by platform/sdl/builtin_files.cmake from ${ROOT}.
#include \"platform/sdl/builtin_files.h\"

namespace disp_sdl {
namespace {
${arrays}}  // namespace

const BuiltinFile kBuiltinFiles[] = {
${entries}    {nullptr, nullptr, 0},
};

}  // namespace disp_sdl
")
file(RENAME ${OUT}.new ${OUT})
