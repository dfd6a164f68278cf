// Writes tests/solar/data/sun-reference.csv: the Sun's events for random places and dates
// from 1950 to 2050, computed with the ephemeris package pinned in package.json. The solar
// engines are measured against this table; it is test data only, and nothing in the build,
// the tests or the programs needs Node.
//
//     cd tools/reference && npm ci && node make-reference.mjs
//
// The places and dates come from a fixed seed, so every run writes the same file. Rows are
// drawn evenly from the latitude bands below, north and south, at any longitude.
//
// Columns: latitude (north +), longitude (WEST +, as the engine takes it), the civil date,
// then minutes after 00:00 UTC of that date of the transit, and of the morning and evening
// crossings of each altitude (empty when the Sun does not cross it that solar day), the Sun's
// geometric elevation at the transit, and its azimuth at the -0.833-degree crossings.
// A date's solar day runs from 12 hours before its transit to 12 hours after.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as Astronomy from 'astronomy-engine';

const here = path.dirname(fileURLToPath(import.meta.url));
const out = path.resolve(here, '..', '..', 'tests', 'solar', 'data', 'sun-reference.csv');

const SEED = 20071221;
const ROWS_PER_BAND = 60;
const BANDS = [[0, 30], [30, 45], [45, 55], [55, 65], [65, 80]];
const ALTITUDES = [['horizon', -0.833], ['civil', -6], ['nautical', -12],
                   ['astronomical', -18], ['golden_low', -4], ['golden_high', 6]];

// mulberry32: a small, well-mixed generator, so the table does not depend on Math.random.
function generator(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

const random = generator(SEED);
const DAY_MS = 86400000;
const start = Date.UTC(1950, 0, 1);
const end = Date.UTC(2051, 0, 1);

function minutesAfter(midnight, time) {
  return ((time.date.getTime() - midnight) / 60000).toFixed(4);
}

// Places and dates that the tests name, ahead of the random rows.
const FIXED = [[41.88, 87.63, '2007-06-21'], [41.88, 87.63, '2007-01-01']];

const lines = [['lat', 'lon_west', 'date', 'noon',
                ...ALTITUDES.flatMap(([name]) => [`${name}_morning`, `${name}_evening`]),
                'noon_elevation', 'sunrise_azimuth', 'sunset_azimuth'].join(',')];

const places = FIXED.map(([lat, lonWest, date]) => [lat, lonWest, Date.parse(date)]);
for (const [low, high] of BANDS) {
  for (let i = 0; i < ROWS_PER_BAND; ++i) {
    const lat = +((low + (high - low) * random()) * (random() < 0.5 ? -1 : 1)).toFixed(4);
    const lonWest = +(360 * random() - 180).toFixed(4);
    places.push([lat, lonWest, start + Math.floor(random() * (end - start) / DAY_MS) * DAY_MS]);
  }
}

for (const [lat, lonWest, midnight] of places) {
  const observer = new Astronomy.Observer(lat, -lonWest, 0);

  // The transit nearest the date's mean solar noon.
  const meanNoon = new Date(midnight + (12 + lonWest / 15) * 3600000);
  const transit = Astronomy.SearchHourAngle(Astronomy.Body.Sun, observer, 0,
                                            new Date(meanNoon.getTime() - 6 * 3600000), +1);
  const dayStart = transit.time.AddDays(-0.5);
  const cells = [lat, lonWest, new Date(midnight).toISOString().slice(0, 10),
                 minutesAfter(midnight, transit.time)];
  const azimuths = [];
  for (const [name, altitude] of ALTITUDES) {
    const rise = Astronomy.SearchAltitude(Astronomy.Body.Sun, observer, +1, dayStart, 0.5,
                                          altitude);
    const set = Astronomy.SearchAltitude(Astronomy.Body.Sun, observer, -1, transit.time, 0.5,
                                         altitude);
    cells.push(rise ? minutesAfter(midnight, rise) : '', set ? minutesAfter(midnight, set) : '');
    if (name === 'horizon') {
      for (const time of [rise, set]) {
        if (!time) {
          azimuths.push('');
          continue;
        }
        const eq = Astronomy.Equator(Astronomy.Body.Sun, time, observer, true, true);
        azimuths.push(Astronomy.Horizon(time, observer, eq.ra, eq.dec).azimuth.toFixed(4));
      }
    }
  }
  const eq = Astronomy.Equator(Astronomy.Body.Sun, transit.time, observer, true, true);
  const elevation = Astronomy.Horizon(transit.time, observer, eq.ra, eq.dec).altitude;
  cells.push(elevation.toFixed(4), ...azimuths);
  lines.push(cells.join(','));
}

fs.mkdirSync(path.dirname(out), { recursive: true });
fs.writeFileSync(out, lines.join('\n') + '\n');
console.log(`wrote ${lines.length - 1} rows to ${out}`);
