// Writes tests/solar/data/seasons-reference.csv: the equinoxes and solstices from 1950 to 2050
// from the complete planetary theory; test data only, like the other reference tables.
//
//     cd tools/reference && npm ci && node make-seasons-reference.mjs
//
// Each instant is the one at which the Sun's apparent longitude is 0, 90, 180 or 270 degrees:
// the Earth's heliocentric longitude and radius vector from every term of the VSOP87D series
// (the coefficient tables of the pinned `astronomia` package), turned half a circle, with the
// FK5 correction (-0.09033"), aberration (-20.4898" at 1 au) and the complete IAU 1980
// nutation series (the same package's). Instants are solved in terrestrial time to 1e-5 s and
// turned into UT with the delta T fits of the ephemeris package of make-moon-reference.mjs,
// the ones the engine uses. Columns: event, Julian day in UT, Julian day in TT.
//
// The script checks itself against the published instants of 1996 to 2005 and of the June
// solstice of 1962 (seasons-published.csv, in TT, to the second) and prints the largest
// departure, then how far the ephemeris package's own seasons (almanac-reference.csv), whose
// Sun keeps only the terms above 1.2e-6 radian, lie from these.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as Astronomy from 'astronomy-engine';
import { nutation } from 'astronomia';
import earth from 'astronomia/data/vsop87Dearth';

const here = path.dirname(fileURLToPath(import.meta.url));
const dataDir = path.resolve(here, '..', '..', 'tests', 'solar', 'data');

const J2000 = 2451545.0;
const ARCSEC = Math.PI / 180 / 3600;
const NAMES = ['march_equinox', 'june_solstice', 'september_equinox', 'december_solstice'];

// A VSOP87 coordinate: the sum over the powers of the millennia of each series' terms.
function vsop(series, tau) {
  let sum = 0;
  let power = 1;
  for (let k = 0; series[k] !== undefined; ++k) {
    let s = 0;
    for (const [a, b, c] of series[k]) {
      s += a * Math.cos(b + c * tau);
    }
    sum += s * power;
    power *= tau;
  }
  return sum;
}

// Apparent longitude of the Sun, degrees, at a Julian day in TT.
function sunLongitude(jdTt) {
  const tau = (jdTt - J2000) / 365250;
  const l = vsop(earth.L, tau);
  const r = vsop(earth.R, tau);
  const [dpsi] = nutation.nutation(jdTt);
  const lambda = (l + Math.PI - 0.09033 * ARCSEC + dpsi - 20.4898 * ARCSEC / r) * 180 / Math.PI;
  return ((lambda % 360) + 360) % 360;
}

// The instant (TT) near `jdTt` at which the longitude is `target`: 58 days per radian is the
// inverse of the Sun's mean motion.
function solve(target, jdTt) {
  let t = jdTt;
  for (let i = 0; i < 20; ++i) {
    const step = 58 * Math.sin((target - sunLongitude(t)) * Math.PI / 180);
    t += step;
    if (Math.abs(step) < 1e-5 / 86400) {
      break;
    }
  }
  return t;
}

const rows = [['event', 'jd_ut', 'jd_tt'].join(',')];
const ours = new Map();
for (let year = 1950; year <= 2050; ++year) {
  for (let q = 0; q < 4; ++q) {
    const start = Astronomy.MakeTime(new Date(Date.UTC(year, 2 + 3 * q, 21)));
    const tt = solve(90 * q, start.tt + J2000);
    const ut = Astronomy.AstroTime.FromTerrestrialTime(tt - J2000).ut + J2000;
    ours.set(`${NAMES[q]} ${year}`, { ut, tt });
    rows.push([NAMES[q], ut.toFixed(7), tt.toFixed(7)].join(','));
  }
}
fs.writeFileSync(path.join(dataDir, 'seasons-reference.csv'), rows.join('\n') + '\n');
console.log(`wrote ${rows.length - 1} rows to seasons-reference.csv`);

function csv(name) {
  return fs.readFileSync(path.join(dataDir, name), 'utf8').trim().split('\n').slice(1)
      .map((line) => line.split(','));
}

let worstPublished = 0;
for (const [name, iso] of csv('seasons-published.csv')) {
  const jdTt = Date.parse(iso) / 86400000 + 2440587.5;
  const q = NAMES.indexOf(name);
  worstPublished = Math.max(worstPublished, Math.abs(solve(90 * q, jdTt) - jdTt) * 86400);
}
console.log(`against the published instants: largest departure ${worstPublished.toFixed(2)} s`);

const package_ = [];
for (const [name, jd] of csv('almanac-reference.csv')) {
  if (!NAMES.includes(name)) {
    continue;
  }
  const year = new Date((Number(jd) - 2440587.5) * 86400000).getUTCFullYear();
  package_.push(Math.abs(Number(jd) - ours.get(`${name} ${year}`).ut) * 86400);
}
package_.sort((a, b) => a - b);
const at = (q) => package_[Math.round(q * (package_.length - 1))].toFixed(1);
console.log(`the ephemeris package's seasons against these: median ${at(0.5)} s, ` +
            `p99 ${at(0.99)} s, max ${at(1)} s`);
