// Writes the Moon's reference tables into tests/solar/data/, computed with the ephemeris
// package pinned in package.json; test data only, like sun-reference.csv.
//
//     cd tools/reference && npm ci && node make-moon-reference.mjs
//
// moon-events.csv: moonrise, moonset and the upper transit of random places (latitudes up to
// 60 degrees, north and south, any longitude) on random dates from 1950 to 2050. Each place
// keeps the clock of its longitude's whole hour; a date's event is the first one between 00:00
// and 24:00 on that clock. Columns: latitude, longitude (WEST +), the clock's offset (hours
// WEST +), the date, then minutes after 00:00 UTC of the date of moonrise, moonset and the
// transit; "-" when the date has none, "up" or "down" when the Moon stays above or below the
// horizon the whole date.
//
// moon-light.csv: the Moon's illuminated percentage and geocentric ecliptic place (of date)
// at random instants: Julian day in UT, percent, longitude, latitude (degrees), distance (km).
//
// almanac-reference.csv: the principal phases of every tenth year from 1950 to 2050 and the
// equinoxes and solstices of every year from 1950 to 2050: event name, Julian day in UT.
// The phases are the instants at which the Moon's apparent ecliptic longitude exceeds the
// Sun's by 0, 90, 180 or 270 degrees.
//
// The rise and set times are those of the Moon's upper limb at the horizon with 34 arc
// minutes of refraction, seen from the ground (parallax included); the script checks each
// one against that definition and prints the largest departure.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as Astronomy from 'astronomy-engine';

const here = path.dirname(fileURLToPath(import.meta.url));
const dataDir = path.resolve(here, '..', '..', 'tests', 'solar', 'data');

const SEED = 19690720;
const ROWS_PER_BAND = 250;
const BANDS = [[0, 30], [30, 45], [45, 55], [55, 60]];
const LIGHT_ROWS = 300;
const KM_PER_AU = 149597870.7;
const MOON_RADIUS_KM = 1737.4;
const J2000 = 2451545.0;

// mulberry32, as in make-reference.mjs.
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

// Upper limb altitude with 34' of refraction, degrees: zero at moonrise and moonset.
function limbAltitude(time, observer) {
  const eq = Astronomy.Equator(Astronomy.Body.Moon, time, observer, true, true);
  const hor = Astronomy.Horizon(time, observer, eq.ra, eq.dec);
  const semidiameter = Math.asin(MOON_RADIUS_KM / (eq.dist * KM_PER_AU)) * 180 / Math.PI;
  return hor.altitude + semidiameter + 34 / 60;
}

let worstCheckSeconds = 0;
function checkConvention(time, observer) {
  // The altitude's rate over a minute turns the residual into seconds of time.
  const a = limbAltitude(time, observer);
  const rate = (limbAltitude(time.AddDays(1 / 1440), observer) -
                limbAltitude(time.AddDays(-1 / 1440), observer)) / 120;
  worstCheckSeconds = Math.max(worstCheckSeconds, Math.abs(a / rate));
}

function eventCell(midnight, dayStart, observer, direction) {
  const found = Astronomy.SearchRiseSet(Astronomy.Body.Moon, observer, direction, dayStart, 1);
  if (found && found.ut < dayStart.ut + 1) {
    checkConvention(found, observer);
    return ((found.date.getTime() - midnight) / 60000).toFixed(4);
  }
  return null;
}

// Moon events.
const events = [['lat', 'lon_west', 'offset', 'date', 'moonrise', 'moonset', 'transit'].join(',')];
const FIXED = [[41.88, 87.63, 5, '2024-06-21'], [41.88, 87.63, 6, '2007-06-21']];
const places = FIXED.map(([lat, lonWest, offset, date]) => [lat, lonWest, offset,
                                                              Date.parse(date)]);
for (const [low, high] of BANDS) {
  for (let i = 0; i < ROWS_PER_BAND; ++i) {
    const lat = +((low + (high - low) * random()) * (random() < 0.5 ? -1 : 1)).toFixed(4);
    const lonWest = +(360 * random() - 180).toFixed(4);
    const offset = Math.round(lonWest / 15);
    places.push([lat, lonWest, offset,
                 start + Math.floor(random() * (end - start) / DAY_MS) * DAY_MS]);
  }
}
for (const [lat, lonWest, offset, midnight] of places) {
  const observer = new Astronomy.Observer(lat, -lonWest, 0);
  const dayStart = Astronomy.MakeTime(new Date(midnight + offset * 3600000));
  let rise = eventCell(midnight, dayStart, observer, +1);
  let set = eventCell(midnight, dayStart, observer, -1);
  if (rise === null && set === null) {
    rise = set = limbAltitude(dayStart, observer) > 0 ? 'up' : 'down';
  }
  const transit = Astronomy.SearchHourAngle(Astronomy.Body.Moon, observer, 0, dayStart, +1);
  const transitCell = transit.time.ut < dayStart.ut + 1
      ? ((transit.time.date.getTime() - midnight) / 60000).toFixed(4) : '-';
  events.push([lat, lonWest, offset, new Date(midnight).toISOString().slice(0, 10),
               rise ?? '-', set ?? '-', transitCell].join(','));
}

// Illumination and place.
const light = [['jd_ut', 'percent', 'lon', 'lat', 'dist_km'].join(',')];
for (let i = 0; i < LIGHT_ROWS; ++i) {
  const time = Astronomy.MakeTime(new Date(start + random() * (end - start)));
  const percent = 100 * Astronomy.Illumination(Astronomy.Body.Moon, time).phase_fraction;
  const place = Astronomy.EclipticGeoMoon(time);
  light.push([(time.ut + J2000).toFixed(7), percent.toFixed(4), place.lon.toFixed(6),
              place.lat.toFixed(6), (place.dist * KM_PER_AU).toFixed(2)].join(','));
}

// The package's quarters take the Sun's longitude without aberration, which puts them about
// 40 s after those of the almanacs' definition (the Moon's apparent longitude minus the
// Sun's, aberration included); the instants written are those of that definition, searched
// within 20 minutes of the package's.
function apparentQuarter(quarter) {
  const target = 90 * quarter.quarter;
  const excess = (time) => {
    const moon = Astronomy.EclipticGeoMoon(time).lon;
    const sun = Astronomy.SunPosition(time).elon;
    return ((moon - sun - target + 540) % 360) - 180;
  };
  return Astronomy.Search(excess, quarter.time.AddDays(-20 / 1440),
                          quarter.time.AddDays(20 / 1440), { dt_tolerance_seconds: 0.01 });
}

// Phases and seasons.
const almanac = [['event', 'jd_ut'].join(',')];
const QUARTERS = ['new_moon', 'first_quarter', 'full_moon', 'last_quarter'];
for (let year = 1950; year <= 2050; year += 10) {
  const yearEnd = Astronomy.MakeTime(new Date(Date.UTC(year + 1, 0, 1)));
  let quarter = Astronomy.SearchMoonQuarter(new Date(Date.UTC(year, 0, 1)));
  while (quarter.time.ut < yearEnd.ut) {
    almanac.push([QUARTERS[quarter.quarter],
                  (apparentQuarter(quarter).ut + J2000).toFixed(7)].join(','));
    quarter = Astronomy.NextMoonQuarter(quarter);
  }
}
for (let year = 1950; year <= 2050; ++year) {
  const s = Astronomy.Seasons(year);
  for (const [name, time] of [['march_equinox', s.mar_equinox], ['june_solstice', s.jun_solstice],
                              ['september_equinox', s.sep_equinox],
                              ['december_solstice', s.dec_solstice]]) {
    almanac.push([name, (time.ut + J2000).toFixed(7)].join(','));
  }
}

for (const [name, lines] of [['moon-events.csv', events], ['moon-light.csv', light],
                             ['almanac-reference.csv', almanac]]) {
  fs.writeFileSync(path.join(dataDir, name), lines.join('\n') + '\n');
  console.log(`wrote ${lines.length - 1} rows to ${name}`);
}
console.log(`rise/set against upper limb + 34' refraction + parallax: largest departure ` +
            `${worstCheckSeconds.toFixed(3)} s`);
