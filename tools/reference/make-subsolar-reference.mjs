// Prints the subsolar point (where the Sun stands at the zenith) at the June solstice of 2007,
// 12:00 UTC, from the ephemeris package pinned in package.json: the declination and the
// Greenwich hour angle of the Sun's apparent place of date. The world map's test keeps the
// numbers.
//
//     cd tools/reference && npm ci && node make-subsolar-reference.mjs

import * as Astronomy from 'astronomy-engine';

const time = Astronomy.MakeTime(new Date(Date.UTC(2007, 5, 21, 12, 0, 0)));
const observer = new Astronomy.Observer(0, 0, 0);
const sun = Astronomy.Equator(Astronomy.Body.Sun, time, observer, true, true);
const gast = Astronomy.SiderealTime(time);
let lon = (sun.ra - gast) * 15;
lon = ((lon + 540) % 360) - 180;
console.log(`latitude ${sun.dec.toFixed(4)} longitude_east ${lon.toFixed(4)}`);
