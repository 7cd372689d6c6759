// The bank record of the VST2 preset format, declared for the VST3 wrapper's
// VST2-compatible state header. The wrapper includes this file inside its own
// namespace, so it includes nothing and uses only built-in types; all fields
// are big-endian 32-bit values on disk.
#pragma once

struct fxBank
{
    int chunkMagic;     // 'CcnK'
    int byteSize;       // size of this record after byteSize, plus the chunk
    int fxMagic;        // 'FBCh' for an opaque chunk
    int version;
    int fxID;           // the plug-in's unique id
    int fxVersion;
    int numPrograms;
    char future[128];

    union
    {
        struct
        {
            int size;       // chunk size in bytes
            char chunk[8];  // the chunk itself follows (variable length)
        } data;
    } content;
};

static_assert (sizeof (int) == 4, "fxBank fields are 32-bit");
static_assert (__builtin_offsetof (fxBank, future) == 28, "reserved bytes follow seven fields");
static_assert (__builtin_offsetof (fxBank, content.data.size) == 156, "chunk size sits at byte 156");
static_assert (__builtin_offsetof (fxBank, content.data.chunk) == 160, "chunk data starts at byte 160");
