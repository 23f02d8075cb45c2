// The template texts as the build embedded them (generator/templates, LF line ends).
#pragma once

#include <cstddef>

namespace zov::vantoro {

struct EmbeddedTemplate {
    const char* name;  // the file's name under generator/templates
    const unsigned char* bytes;
    size_t size;
};

extern const EmbeddedTemplate kEmbeddedTemplates[];
extern const size_t kEmbeddedTemplateCount;

}  // namespace zov::vantoro
