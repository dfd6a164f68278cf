// Builds data/world-map.bin, the land and the country outlines the world map window draws,
// from Natural Earth's 1:50m data (public domain) as the world-atlas package ships it in
// TopoJSON. Run by build-places.mjs, or alone: node build-worldmap.mjs.
//
// Layout (integers little-endian):
//   8 bytes  magic "DBWLDMAP", u16 version (1), u16 zero
//   u32      land ring count L, u32 outline count B, u32 point count P (all shapes together)
//   L + B    u32 point counts, the land rings first
//   P        points: i16 longitude, i16 latitude, in hundredths of a degree (east, north +)
//   u32      CRC-32 of every byte before it
// Land rings are closed polygons (outer rings and holes alike: filled even-odd). The outlines
// are every arc of the countries once, coasts and borders, as open polylines.

import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));

// The arcs of a topology in degrees: delta-decoded and scaled by its transform.
function decodeArcs(topology) {
  const { scale, translate } = topology.transform;
  return topology.arcs.map((arc) => {
    let x = 0;
    let y = 0;
    return arc.map(([dx, dy]) => {
      x += dx;
      y += dy;
      return [x * scale[0] + translate[0], y * scale[1] + translate[1]];
    });
  });
}

// A ring from arc indices (~i: arc i reversed), each arc's first point dropped after the first.
function stitch(arcs, indices) {
  const ring = [];
  for (const index of indices) {
    const arc = index < 0 ? arcs[~index].slice().reverse() : arcs[index];
    ring.push(...(ring.length ? arc.slice(1) : arc));
  }
  return ring;
}

function polygons(geometry) {
  if (geometry.type === 'Polygon') return [geometry.arcs];
  if (geometry.type === 'MultiPolygon') return geometry.arcs;
  if (geometry.type === 'GeometryCollection') return geometry.geometries.flatMap(polygons);
  return [];
}

// Consecutive points that round to the same hundredth are one.
function quantize(points) {
  const out = [];
  for (const [lon, lat] of points) {
    const q = [Math.round(lon * 100), Math.round(lat * 100)];
    const last = out[out.length - 1];
    if (!last || last[0] !== q[0] || last[1] !== q[1]) out.push(q);
  }
  return out;
}

// A line that steps from one edge of the map to the other crosses the antimeridian: drawn as
// one, it would cross the whole world. It becomes two.
function splitAtAntimeridian(line) {
  const parts = [[line[0]]];
  for (let i = 1; i < line.length; i++) {
    if (Math.abs(line[i][0] - line[i - 1][0]) > 18000) parts.push([]);
    parts[parts.length - 1].push(line[i]);
  }
  return parts;
}

export function buildWorldMap(repo, modules) {
  const atlas = path.join(modules, 'world-atlas');
  const land = JSON.parse(fs.readFileSync(path.join(atlas, 'land-50m.json'), 'utf8'));
  const countries = JSON.parse(fs.readFileSync(path.join(atlas, 'countries-50m.json'), 'utf8'));
  const landArcs = decodeArcs(land);
  const rings = polygons(land.objects.land)
    .flatMap((polygon) => polygon.map((ring) => quantize(stitch(landArcs, ring))))
    .filter((ring) => ring.length >= 3);
  const lines = decodeArcs(countries).map(quantize).flatMap(splitAtAntimeridian)
    .filter((line) => line.length >= 2);
  const shapes = [...rings, ...lines];
  const pointCount = shapes.reduce((n, s) => n + s.length, 0);

  const head = Buffer.alloc(8 + 4 + 12 + 4 * shapes.length);
  head.write('DBWLDMAP', 0, 'latin1');
  head.writeUInt16LE(1, 8);
  head.writeUInt16LE(0, 10);
  head.writeUInt32LE(rings.length, 12);
  head.writeUInt32LE(lines.length, 16);
  head.writeUInt32LE(pointCount, 20);
  shapes.forEach((s, i) => head.writeUInt32LE(s.length, 24 + 4 * i));
  const points = Buffer.alloc(4 * pointCount);
  let at = 0;
  for (const shape of shapes) {
    for (const [lon, lat] of shape) {
      points.writeInt16LE(lon, at);
      points.writeInt16LE(lat, at + 2);
      at += 4;
    }
  }
  const body = Buffer.concat([head, points]);
  const crc = Buffer.alloc(4);
  crc.writeUInt32LE(zlib.crc32(body), 0);
  const file = Buffer.concat([body, crc]);
  fs.writeFileSync(path.join(repo, 'data', 'world-map.bin'), file);
  return { rings: rings.length, outlines: lines.length, points: pointCount, bytes: file.length };
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  console.log(JSON.stringify(buildWorldMap(path.resolve(here, '..', '..'),
    path.join(here, 'node_modules'))));
}
