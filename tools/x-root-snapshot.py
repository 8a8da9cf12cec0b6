#!/usr/bin/env python3
"""Saves the X root window of $DISPLAY as a PNG: x-root-snapshot.py OUTPUT.png

The Windows UI tests call it under Wine to keep a picture of a real window for review: a Direct2D window
cannot be captured through GDI under Wine, but the X server holds what it shows. Needs only libX11."""
import ctypes
import ctypes.util
import os
import struct
import sys
import zlib


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
                ("blue_mask", ctypes.c_ulong)]


def grab_root():
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                              ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x11.XDisplayWidth.argtypes = x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("x-root-snapshot: cannot open the display")
    width, height = x11.XDisplayWidth(display, 0), x11.XDisplayHeight(display, 0)
    z_pixmap = 2
    image = x11.XGetImage(display, x11.XDefaultRootWindow(display), 0, 0, width, height, 0xFFFFFFFF, z_pixmap)
    info = image.contents if image else None
    if not info or info.bits_per_pixel != 32 or (info.red_mask, info.green_mask, info.blue_mask) != (
            0xFF0000, 0xFF00, 0xFF):
        sys.exit("x-root-snapshot: only 32-bit pixels with 8-bit red, green and blue are read")
    raw = ctypes.string_at(info.data, info.bytes_per_line * height)
    rows = []
    for y in range(height):
        pixels = raw[y * info.bytes_per_line:y * info.bytes_per_line + 4 * width]  # blue, green, red, unused
        rgb = bytearray(3 * width)
        rgb[0::3], rgb[1::3], rgb[2::3] = pixels[2::4], pixels[1::4], pixels[0::4]
        rows.append(b"\0" + bytes(rgb))  # filter: none
    x11.XCloseDisplay(display)
    return width, height, b"".join(rows)


def write_png(path, width, height, rgb_rows):
    def chunk(kind, payload):
        return struct.pack(">I", len(payload)) + kind + payload + struct.pack(">I", zlib.crc32(kind + payload))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rgb_rows, 6))
                  + chunk(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: x-root-snapshot.py OUTPUT.png")
    # Written under another name and renamed when complete: a caller waits for the file to appear.
    partial = sys.argv[1] + ".partial"
    write_png(partial, *grab_root())
    os.replace(partial, sys.argv[1])
