# Writes a C++ source holding the given BMP files as byte arrays, plus the table that
# embeddedBitmapTable() answers.
#   cmake -DBITMAP_DIR=<dir> -DIDS=<id;id;...> -DOUTPUT=<file.cpp> -P embed_bitmaps.cmake
cmake_minimum_required(VERSION 3.25)

string(REPEAT "[0-9a-f]" 48 hex_line) # 24 bytes per source line

set(arrays "")
set(entries "")
foreach(id IN LISTS IDS)
  file(READ "${BITMAP_DIR}/${id}.bmp" hex HEX)
  string(REGEX REPLACE "(${hex_line})" "\\1\n    " hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  string(APPEND arrays "const unsigned char kBitmap${id}[] = {\n    ${hex}\n};\n\n")
  string(APPEND entries "    {${id}, kBitmap${id}, sizeof kBitmap${id}},\n")
endforeach()

set(source "// Generated from resources/bitmaps by embed_bitmaps.cmake; do not edit.
#include \"resources/embedded_bitmap_table.h\"

namespace {

${arrays}const EmbeddedBitmap kTable[] = {
${entries}};

} // namespace

std::span<const EmbeddedBitmap> embeddedBitmapTable() { return kTable; }
")

# Rewrite only on change, so an unchanged bitmap set does not recompile.
set(previous "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
endif()
if(NOT previous STREQUAL source)
  file(WRITE "${OUTPUT}" "${source}")
endif()
