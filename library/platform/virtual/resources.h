// Resources compiled into the library for the virtual desktop (generated at build time).
#pragma once

#include <cstddef>

struct EmbeddedResource {
    const char *type;
    const char *name;
    const unsigned char *data;  // followed by a zero byte, as in a library image
    size_t size;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const size_t kEmbeddedResourceCount;
