#pragma once

// The effect's version and capability flags, shared by the code and the resource script so that
// what the host reads before loading the plug-in and what global set-up reports cannot differ.
// Plain numbers only: the resource compiler reads this file too.

#define KYROX_VERSION_MAJOR 1
#define KYROX_VERSION_MINOR 0
#define KYROX_VERSION_BUILD 39

// The host's version packing: major << 19 | minor << 15 | bug-fix << 11 | stage << 9 | build.
#define KYROX_EFFECT_VERSION 0x80027

// Non-parameter variation, expanded buffer, pixel independence, shutter angle, deep colour.
#define KYROX_OUT_FLAGS 0x2080604
// Dynamic-flags query, collapsed groups, zero alpha revealed, smart render, float colour,
// unreferenced masks.
#define KYROX_OUT_FLAGS2 0x81489

#ifdef __cplusplus
static_assert(KYROX_EFFECT_VERSION == (KYROX_VERSION_MAJOR << 19 | KYROX_VERSION_MINOR << 15 | KYROX_VERSION_BUILD));
#endif
