#!/usr/bin/env python3
"""Writes the seed RTF files of fuzz_rtfpictures: small pictures of every kind a \\pict group may hold, in the
shapes RTF writers use. The images come from ImageMagick (`convert`); run from this folder."""
import struct, subprocess, tempfile, os

def convert(*args):
    with tempfile.TemporaryDirectory() as d:
        out = os.path.join(d, 'out')
        subprocess.run(['convert', *args[:-1], '-strip', args[-1] + ':' + out], check=True)
        return open(out, 'rb').read()

def hexlines(data):
    h = data.hex()
    return '\r\n'.join(h[i:i + 128] for i in range(0, len(h), 128))

def rtf(body):
    return ('{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n'
            '\\viewkind4\\uc1\\pard\\f0\\fs20 ' + body + '\\par\r\n}\r\n').encode('latin-1')

def pict(kind, data, w, h, extra=''):
    return ('{\\pict\\%s\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d%s\r\n%s}'
            % (kind, w, h, w * 15, h * 15, extra, hexlines(data)))

def dib(bmp):
    return bmp[14:]  # a bitmap file without its 14-byte file header

def record(function, params):
    words = 3 + len(params) // 2
    return struct.pack('<IH', words, function) + params

def wmf(records, placeable=False):
    body = b''.join(records) + record(0x0000, b'')
    size = (18 + len(body)) // 2
    biggest = max(len(r) for r in records) // 2
    header = struct.pack('<HHHIHIH', 1, 9, 0x0300, size, 0, biggest, 0)
    out = header + body
    if placeable:
        head = struct.pack('<IHhhhhHI', 0x9AC6CDD7, 0, 0, 0, 90, 60, 1440, 0)
        checksum = 0
        for i in range(0, 20, 2):
            checksum ^= struct.unpack('<H', head[i:i + 2])[0]
        out = head + struct.pack('<H', checksum) + out
    return out

def dibstretchblt(d, w, h):
    return record(0x0B41, struct.pack('<IhhhhhhHH', 0x00CC0020, h, w, 0, 0, h, w, 0, 0) + d)

def stretchdib(d, w, h):
    return record(0x0F43, struct.pack('<IHhhhhhhhh', 0x00CC0020, 0, h, w, 0, 0, h, w, 0, 0) + d)

def dibbitblt(d, w, h):
    return record(0x0940, struct.pack('<Ihhhhhh', 0x00CC0020, 0, 0, h, w, 0, 0) + d)

png = convert('-size', '8x6', 'gradient:red-blue', 'png')
palette_png = convert('-size', '8x6', 'gradient:white-black', '-type', 'Palette', '-colors', '16', 'png8')
jpeg = convert('-size', '8x6', 'gradient:yellow-green', '-quality', '50', 'jpg')
progressive = convert('-size', '8x6', 'gradient:red-blue', '-interlace', 'JPEG', '-quality', '40', 'jpg')
d24 = dib(convert('-size', '9x5', 'gradient:red-blue', 'bmp3'))
d8 = dib(convert('-size', '9x5', 'gradient:red-blue', '-type', 'Palette', '-colors', '200', 'bmp3'))
d1 = dib(convert('-size', '9x5', 'pattern:checkerboard', '-monochrome', 'bmp3'))
rle = dib(convert('-size', '9x5', 'gradient:red-blue', '-type', 'Palette', '-colors', '12', '-compress', 'RLE', 'bmp3'))
setup = [record(0x0103, struct.pack('<H', 8)), record(0x020C, struct.pack('<hh', 5, 9))]
vector = wmf([record(0x0103, struct.pack('<H', 8)), record(0x020C, struct.pack('<hh', 60, 90)),
              record(0x02FC, struct.pack('<HIH', 0, 0x0000FF, 0)), record(0x012D, struct.pack('<H', 0)),
              record(0x041B, struct.pack('<hhhh', 50, 80, 10, 10))])
emf = struct.pack('<II', 1, 88) + bytes(80) + struct.pack('<IIIII', 14, 20, 0, 0, 20)

seeds = {
    'png.rtf': rtf('A' + pict('pngblip', png, 8, 6) + 'B'),
    'png_palette.rtf': rtf(pict('pngblip', palette_png, 8, 6)),
    'jpeg.rtf': rtf('A' + pict('jpegblip', jpeg, 8, 6) + 'B'),
    'jpeg_progressive.rtf': rtf(pict('jpegblip', progressive, 8, 6, '\\picscalex200\\picscaley50')),
    'dib24.rtf': rtf(pict('dibitmap0', d24, 9, 5)),
    'dib8.rtf': rtf(pict('dibitmap0', d8, 9, 5)),
    'dib1.rtf': rtf(pict('dibitmap0', d1, 9, 5)),
    'dib_rle8.rtf': rtf(pict('dibitmap0', rle, 9, 5)),
    'wmf_dibstretchblt.rtf': rtf(pict('wmetafile8', wmf(setup + [dibstretchblt(d24, 9, 5)]), 9, 5)),
    'wmf_stretchdib.rtf': rtf(pict('wmetafile8', wmf(setup + [stretchdib(d8, 9, 5)], placeable=True), 9, 5)),
    'wmf_dibbitblt.rtf': rtf(pict('wmetafile8', wmf(setup + [dibbitblt(d1, 9, 5)]), 9, 5)),
    'wmf_vector.rtf': rtf(pict('wmetafile8', vector, 90, 60)),
    'emf.rtf': rtf(pict('emfblip', emf, 20, 20)),
    'shppict.rtf': rtf('{\\*\\shppict' + pict('pngblip', png, 8, 6) + '}{\\nonshppict'
                       + pict('wmetafile8', wmf(setup + [dibstretchblt(d24, 9, 5)]), 9, 5) + '}'),
    'bin_png.rtf': b'{\\rtf1\\ansi A{\\pict\\pngblip\\picwgoal120\\pichgoal90\\bin%d ' % len(png)
                   + png + b'}B\\par}',
}
for name, data in seeds.items():
    with open(name, 'wb') as f:
        f.write(data)
