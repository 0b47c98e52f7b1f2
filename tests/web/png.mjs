// Reads the PNG files that the headless host captures: 8-bit RGB or RGBA,
// not interlaced. Pixels come back as 0x00RRGGBB numbers, as the layer
// keeps them.
import { inflateSync } from 'node:zlib';

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Undoes one row's filter in place; `prior` is the row above, unfiltered.
function unfilter(type, row, prior, bpp) {
  for (let i = 0; i < row.length; ++i) {
    const left = i >= bpp ? row[i - bpp] : 0;
    const up = prior[i];
    const corner = i >= bpp ? prior[i - bpp] : 0;
    const add = [0, left, up, (left + up) >> 1, paeth(left, up, corner)][type];
    if (add === undefined) throw new Error(`unknown PNG filter ${type}`);
    row[i] = (row[i] + add) & 0xff;
  }
}

export function decodePng(buffer) {
  if (buffer.readUInt32BE(0) !== 0x89504e47) throw new Error('not a PNG file');
  let offset = 8, width = 0, height = 0, channels = 0;
  const data = [];
  while (offset < buffer.length) {
    const length = buffer.readUInt32BE(offset);
    const type = buffer.toString('ascii', offset + 4, offset + 8);
    const body = buffer.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('only 8-bit, non-interlaced PNG');
      channels = { 2: 3, 6: 4 }[body[9]];
      if (!channels) throw new Error(`PNG colour type ${body[9]} not read here`);
    } else if (type === 'IDAT') {
      data.push(body);
    }
    offset += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = new Uint32Array(width * height);
  let prior = new Uint8Array(stride);
  for (let y = 0; y < height; ++y) {
    const start = y * (stride + 1);
    const row = Uint8Array.from(raw.subarray(start + 1, start + 1 + stride));
    unfilter(raw[start], row, prior, channels);
    for (let x = 0; x < width; ++x) {
      const p = x * channels;
      pixels[y * width + x] = (row[p] << 16) | (row[p + 1] << 8) | row[p + 2];
    }
    prior = row;
  }
  return { width, height, pixels };
}
