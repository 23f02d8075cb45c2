# Writes OUTPUT, a C++ unit that holds every template of TEMPLATE_DIR as a byte array, so that the
# program carries its templates and never looks for them on disk.
#   cmake -DTEMPLATE_DIR=<dir> -DTEMPLATES=<name;name...> -DOUTPUT=<file.cpp> -P Embed.cmake
set(body "")
set(table "")
set(index 0)
foreach(name IN LISTS TEMPLATES)
  file(READ ${TEMPLATE_DIR}/${name} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
  string(APPEND body "const unsigned char kTemplate${index}[] = {\n    ${bytes}0x00};\n")
  string(APPEND table "    {\"${name}\", kTemplate${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new
"// Generated from generator/templates by Embed.cmake; do not edit.
#include \"generator/core/EmbeddedTemplates.h\"

namespace zov::vantoro {
namespace {
${body}}  // namespace

const EmbeddedTemplate kEmbeddedTemplates[] = {
${table}};
const size_t kEmbeddedTemplateCount = ${index};

}  // namespace zov::vantoro
")
# Only a changed text touches the unit, so an unrelated configure does not rebuild the library.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
