// Builds data/zone-map.bin, the IANA zone of any point on Earth, from the time-zone boundaries
// that geo-tz ships (every IANA zone kept apart), and data/zone-sample.tsv, random land points
// with geo-tz's own answer, against which the C++ reader is tested. Run by build-places.mjs.
//
// The map follows geo-tz's own quadtree: the world is halved in latitude and longitude at
// every level, from the box [-89.9999, 89.9999] x [-179.9999, 179.9999], a point on a midline
// going north and east. Cells that lie in one zone are leaves; geo-tz's cells that hold
// boundaries are rasterised at FINEST_LEVEL and cut again until a block of RASTER x RASTER
// pixels holds at most four zones, which is stored as a small bitmap with its palette. A point
// that lies in no zone is at sea, where the nautical zone of its longitude applies.
//
// Layout (integers little-endian):
//   8 bytes  magic "DBZONMAP", u16 version (1), u8 raster side R, u8 zero
//   u32      length of the tables below, u32 length of their zlib stream, the stream
//   u32      CRC-32 of every byte before it
// The tables (deflated; they shrink to a quarter):
//   u16      zone count N, then N names: u8 length, the ASCII bytes
//   u32      node count, u32 two-colour bitmap count, u32 four-colour bitmap count
//   nodes    4 u32 entries each (north-east, north-west, south-west, south-east); an entry's
//            top two bits say what its other 30 are: 0 a zone (0 the sea, 1..N the names),
//            1 a node (always after the node that points to it), 2 a two-colour bitmap,
//            3 a four-colour bitmap. Node 0 is the whole world.
//   bitmaps  two-colour: 2 u16 zones, R*R bits; four-colour: 4 u16 zones, R*R two-bit values;
//            pixels row by row from the south-west corner, the lowest bits first

import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const Pbf = require('pbf');
const geobuf = require('geobuf');

export const FINEST_LEVEL = 16;
export const RASTER = 8;
const TILE_LEVEL = 9; // geo-tz's cells that hold boundaries all lie at this depth
const SIDE = 2 ** (FINEST_LEVEL - TILE_LEVEL); // pixels per tile side
const ZONE = 0;
const NODE = 1;
const BITS2 = 2;
const BITS4 = 3;

function geoTzFiles(modules) {
  const dir = path.join(modules, 'geo-tz', 'data');
  return {
    index: JSON.parse(fs.readFileSync(path.join(dir, 'timezones.geojson.index.json'), 'utf8')),
    geo: path.join(dir, 'timezones.geojson.geo.dat'),
  };
}

// Pixel values of one boundary cell: 0 at sea, else 1 + the zone's index; the first feature
// that holds a pixel's centre wins, as geo-tz lists its features' zones in order.
function rasterise(features, zoneIndex, box, side) {
  const pixels = new Uint16Array(side * side);
  const pw = (box.right - box.left) / side;
  const ph = (box.top - box.bottom) / side;
  for (const feature of features) {
    const value = zoneIndex.get(feature.properties.tzid) + 1;
    const polygons = feature.geometry.type === 'Polygon' ? [feature.geometry.coordinates]
      : feature.geometry.coordinates;
    // Edges bucketed by the rows whose centre line they cross.
    const rows = Array.from({ length: side }, () => []);
    for (const polygon of polygons) {
      for (const ring of polygon) {
        for (let i = 0; i + 1 < ring.length; ++i) {
          const [x1, y1] = ring[i];
          const [x2, y2] = ring[i + 1];
          if (y1 === y2) continue;
          const lo = Math.min(y1, y2);
          const hi = Math.max(y1, y2);
          // Row r's centre line y = bottom + (r + 0.5) ph is crossed when lo <= y < hi.
          const first = Math.max(0, Math.ceil((lo - box.bottom) / ph - 0.5));
          const last = Math.min(side - 1, Math.ceil((hi - box.bottom) / ph - 0.5) - 1);
          for (let r = first; r <= last; ++r) rows[r].push([x1, y1, x2, y2]);
        }
      }
    }
    for (let r = 0; r < side; ++r) {
      const y = box.bottom + (r + 0.5) * ph;
      const xs = [];
      for (const [x1, y1, x2, y2] of rows[r]) {
        if ((y1 <= y) === (y2 <= y)) continue;
        xs.push(x1 + ((y - y1) * (x2 - x1)) / (y2 - y1));
      }
      xs.sort((a, b) => a - b);
      for (let k = 0; k + 1 < xs.length; k += 2) {
        const from = Math.max(0, Math.ceil((xs[k] - box.left) / pw - 0.5));
        const to = Math.min(side, Math.ceil((xs[k + 1] - box.left) / pw - 0.5));
        for (let c = from; c < to; ++c) {
          if (pixels[r * side + c] === 0) pixels[r * side + c] = value;
        }
      }
    }
  }
  return pixels;
}

// The entry of the block of `size` pixels at (x, y) (from the south-west), as a tree of
// plain objects: { zone } | { children: [ne, nw, sw, se] } | { palette, values }.
function blockEntry(pixels, side, x, y, size, stats) {
  if (size === RASTER) {
    const counts = new Map();
    for (let r = 0; r < size; ++r) {
      for (let c = 0; c < size; ++c) {
        const v = pixels[(y + r) * side + x + c];
        counts.set(v, (counts.get(v) || 0) + 1);
      }
    }
    if (counts.size === 1) return { zone: counts.keys().next().value };
    // The most common first; beyond four, the rest take the most common (a few pixels where
    // five zones meet).
    const palette = [...counts].sort((a, b) => b[1] - a[1] || a[0] - b[0]).map(([v]) => v);
    if (palette.length > 4) stats.crowded += 1;
    const kept = palette.slice(0, 4);
    const values = new Uint8Array(size * size);
    for (let r = 0; r < size; ++r) {
      for (let c = 0; c < size; ++c) {
        const at = kept.indexOf(pixels[(y + r) * side + x + c]);
        values[r * size + c] = at < 0 ? 0 : at;
      }
    }
    return { palette: kept, values };
  }
  const half = size / 2;
  const children = [
    blockEntry(pixels, side, x + half, y + half, half, stats),
    blockEntry(pixels, side, x, y + half, half, stats),
    blockEntry(pixels, side, x, y, half, stats),
    blockEntry(pixels, side, x + half, y, half, stats),
  ];
  const zone = children[0].zone;
  if (zone !== undefined && children.every((child) => child.zone === zone)) return { zone };
  return { children };
}

// The four quarters of a box, in entry order, as a look-up halves it.
function quarters(box) {
  const midLat = (box.top + box.bottom) / 2;
  const midLon = (box.left + box.right) / 2;
  return [
    { top: box.top, bottom: midLat, left: midLon, right: box.right },
    { top: box.top, bottom: midLat, left: box.left, right: midLon },
    { top: midLat, bottom: box.bottom, left: box.left, right: midLon },
    { top: midLat, bottom: box.bottom, left: midLon, right: box.right },
  ];
}
const quarterOf = (box, lat, lon) => {
  const midLat = (box.top + box.bottom) / 2;
  const midLon = (box.left + box.right) / 2;
  if (lat >= midLat) return lon >= midLon ? 0 : 1;
  return lon >= midLon ? 3 : 2;
};

// The value a leaf gives at a point of its box.
function leafValue(entry, box, lat, lon) {
  if (entry.zone !== undefined) return entry.zone;
  const col = Math.min(RASTER - 1, Math.floor(((lon - box.left) / (box.right - box.left)) * RASTER));
  const row = Math.min(RASTER - 1, Math.floor(((lat - box.bottom) / (box.top - box.bottom)) * RASTER));
  return entry.palette[entry.values[row * RASTER + col]];
}

// Shipped places must come out as the boundary data gives them: a leaf that a place falls in
// the wrong side of is rasterised again, twice as fine, until it does (at most MAX_REFINE
// times; a place on a boundary line itself may stay wrong).
const MAX_REFINE = 12;
function fixPins(entry, box, pins, features, zoneIndex, depth, stats) {
  if (pins.length === 0) return entry;
  if (entry.children) {
    const parts = quarters(box);
    entry.children = entry.children.map((child, k) => fixPins(child, parts[k],
      pins.filter((p) => quarterOf(box, p.lat, p.lon) === k), features, zoneIndex, depth, stats));
    return entry;
  }
  const wrong = pins.filter((p) => leafValue(entry, box, p.lat, p.lon) !== p.value);
  if (wrong.length === 0) return entry;
  if (depth >= MAX_REFINE) {
    stats.pinsLeftWrong += wrong.length;
    return entry;
  }
  if (depth === 0) stats.pinsRefined += wrong.length;
  const finer = blockEntry(rasterise(features, zoneIndex, box, 2 * RASTER), 2 * RASTER, 0, 0,
    2 * RASTER, stats);
  return fixPins(finer, box, pins, features, zoneIndex, depth + 1, stats);
}

// The tree of the whole world from geo-tz's index and geometry; `pins` are points with the
// value the map must give there (0 at sea, else 1 + the zone's index in geo-tz's list).
function buildTree(modules, pinsOf, stats) {
  const { index, geo } = geoTzFiles(modules);
  const zoneIndex = new Map(index.timezones.map((name, i) => [name, i]));
  const pinsByTile = new Map();
  for (const pin of pinsOf(index.timezones)) {
    let key = '';
    let box = { top: 89.9999, bottom: -89.9999, left: -179.9999, right: 179.9999 };
    let node = index.lookup;
    for (;;) {
      const k = quarterOf(box, pin.lat, pin.lon);
      key += 'abcd'[k];
      box = quarters(box)[k];
      node = node[ 'abcd'[k]];
      if (node === undefined || Array.isArray(node) || (node.pos >= 0 && node.len)) break;
    }
    if (!pinsByTile.has(key)) pinsByTile.set(key, []);
    pinsByTile.get(key).push(pin);
  }
  const fd = fs.openSync(geo, 'r');
  const walk = (node, box, key) => {
    if (node === undefined) return { zone: 0 };
    if (Array.isArray(node)) return { zone: node[0] + 1 };
    if (node.pos >= 0 && node.len) {
      const bytes = Buffer.alloc(node.len);
      fs.readSync(fd, bytes, 0, node.len, node.pos);
      const tile = geobuf.decode(new Pbf(bytes));
      ++stats.tiles;
      const entry = blockEntry(rasterise(tile.features, zoneIndex, box, SIDE), SIDE, 0, 0, SIDE,
        stats);
      return fixPins(entry, box, pinsByTile.get(key) ?? [], tile.features, zoneIndex, 0, stats);
    }
    const parts = quarters(box);
    const children = ['a', 'b', 'c', 'd'].map((k, i) => walk(node[k], parts[i], key + k));
    const zone = children[0].zone;
    if (zone !== undefined && children.every((child) => child.zone === zone)) return { zone };
    return { children };
  };
  const root = walk(index.lookup, { top: 89.9999, bottom: -89.9999, left: -179.9999, right: 179.9999 },
    '');
  fs.closeSync(fd);
  return { root: root.children ? root : { children: [root, root, root, root] },
    names: index.timezones };
}

function u16(n) { const b = Buffer.alloc(2); b.writeUInt16LE(n); return b; }
function u32(n) { const b = Buffer.alloc(4); b.writeUInt32LE(n >>> 0); return b; }

function encode({ root, names }) {
  // Nodes in breadth-first order, so that a node's children always come after it.
  const nodes = [];
  const bits2 = [];
  const bits4 = [];
  const queue = [root];
  const nodeEntries = [];
  for (let head = 0; head < queue.length; ++head) {
    const words = [];
    for (const child of queue[head].children) {
      if (child.zone !== undefined) {
        words.push(child.zone);
      } else if (child.children) {
        words.push((NODE << 30) | queue.length);
        queue.push(child);
      } else if (child.palette.length <= 2) {
        words.push((BITS2 << 30) | bits2.length);
        bits2.push(child);
      } else {
        words.push((BITS4 << 30) | bits4.length);
        bits4.push(child);
      }
    }
    nodeEntries.push(words);
  }
  const parts = [u16(names.length)];
  for (const name of names) parts.push(Buffer.from([name.length]), Buffer.from(name, 'ascii'));
  parts.push(u32(nodeEntries.length), u32(bits2.length), u32(bits4.length));
  for (const words of nodeEntries) for (const w of words) parts.push(u32(w));
  const packBits = (block, bitsPerPixel, colours) => {
    const out = [];
    for (let i = 0; i < colours; ++i) out.push(u16(block.palette[i] ?? block.palette[0]));
    const bytes = Buffer.alloc((RASTER * RASTER * bitsPerPixel) / 8);
    block.values.forEach((v, i) => {
      const bit = i * bitsPerPixel;
      bytes[bit >> 3] |= v << (bit & 7);
    });
    out.push(bytes);
    return out;
  };
  for (const block of bits2) parts.push(...packBits(block, 1, 2));
  for (const block of bits4) parts.push(...packBits(block, 2, 4));
  const tables = Buffer.concat(parts);
  const stream = zlib.deflateSync(tables, { level: 9 });
  const body = Buffer.concat([Buffer.from('DBZONMAP', 'ascii'), u16(1), Buffer.from([RASTER, 0]),
    u32(tables.length), u32(stream.length), stream]);
  return { bytes: Buffer.concat([body, u32(zlib.crc32(body))]), tableBytes: tables.length,
    nodes: nodeEntries.length,
    bits2: bits2.length, bits4: bits4.length };
}

// The zone the map gives, as the C++ reader finds it: for checking the map here.
export function mapLookup(map, lat, lon) {
  let box = { top: 89.9999, bottom: -89.9999, left: -179.9999, right: 179.9999 };
  lat = Math.min(Math.max(lat, -89.9999), 89.9999);
  lon = Math.min(Math.max(lon, -179.9999), 179.9999);
  let entry = map.root;
  for (;;) {
    if (entry.zone !== undefined) return entry.zone;
    if (entry.palette) {
      const col = Math.min(RASTER - 1, Math.floor(((lon - box.left) / (box.right - box.left)) * RASTER));
      const row = Math.min(RASTER - 1, Math.floor(((lat - box.bottom) / (box.top - box.bottom)) * RASTER));
      return entry.palette[entry.values[row * RASTER + col]];
    }
    const midLat = (box.top + box.bottom) / 2;
    const midLon = (box.left + box.right) / 2;
    if (lat >= midLat && lon >= midLon) {
      entry = entry.children[0];
      box = { top: box.top, bottom: midLat, left: midLon, right: box.right };
    } else if (lat >= midLat) {
      entry = entry.children[1];
      box = { top: box.top, bottom: midLat, left: box.left, right: midLon };
    } else if (lon < midLon) {
      entry = entry.children[2];
      box = { top: midLat, bottom: box.bottom, left: box.left, right: midLon };
    } else {
      entry = entry.children[3];
      box = { top: midLat, bottom: box.bottom, left: midLon, right: box.right };
    }
  }
}

// The nautical zone of a longitude, as geo-tz gives it at sea (the first of two on a band's
// edge).
export function nauticalZone(lon) {
  const hours = Math.round(lon / 15);
  if (lon >= 180 || lon <= -180 || hours === 0) return hours === 0 ? 'Etc/GMT' : 'Etc/GMT+12';
  return hours > 0 ? `Etc/GMT-${hours}` : `Etc/GMT+${-hours}`;
}

// Points drawn evenly over the sphere from a fixed seed (mulberry32), kept where geo-tz finds
// a land zone, rounded to five decimals before the look-up so that the file holds the point
// asked about.
function landSample(geoTz, count) {
  let seed = 20260621;
  const random = () => {
    seed = (seed + 0x6d2b79f5) | 0;
    let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const rows = [];
  while (rows.length < count) {
    const lat = Number(((Math.asin(2 * random() - 1) * 180) / Math.PI).toFixed(5));
    const lon = Number((random() * 360 - 180).toFixed(5));
    const found = geoTz.find(lat, lon);
    if (found.length === 0 || found[0].startsWith('Etc/')) continue;
    rows.push([lat, lon, found[0]]);
  }
  return rows;
}

// `places`: [lat, lon] of every shipped place, where the map must agree with geo-tz.
export function buildZoneMap(repo, modules, geoTz, places) {
  const stats = { tiles: 0, crowded: 0, pinsRefined: 0, pinsLeftWrong: 0 };
  const pinsOf = (names) => {
    const index = new Map(names.map((name, i) => [name, i + 1]));
    return places.map(([lat, lon]) => {
      const zone = geoTz.find(lat, lon)[0];
      return { lat, lon, value: zone.startsWith('Etc/') ? 0 : index.get(zone) };
    });
  };
  const tree = buildTree(modules, pinsOf, stats);
  const encoded = encode(tree);
  fs.writeFileSync(path.join(repo, 'data', 'zone-map.bin'), encoded.bytes);
  const sample = landSample(geoTz, 100000);
  fs.writeFileSync(path.join(repo, 'data', 'zone-sample.tsv'),
    `latitude\tlongitude\tzone\n${sample.map((r) => r.join('\t')).join('\n')}\n`);
  let agree = 0;
  for (const [lat, lon, zone] of sample) {
    const v = mapLookup(tree, lat, lon);
    if ((v === 0 ? nauticalZone(lon) : tree.names[v - 1]) === zone) ++agree;
  }
  return {
    tree,
    figures: { bytes: encoded.bytes.length, tableBytes: encoded.tableBytes, nodes: encoded.nodes, twoColour: encoded.bits2,
      fourColour: encoded.bits4, boundaryCells: stats.tiles, crowdedBlocks: stats.crowded,
      placesRefined: stats.pinsRefined, placesLeftWrong: stats.pinsLeftWrong,
      sample: sample.length, sampleAgree: agree },
  };
}
