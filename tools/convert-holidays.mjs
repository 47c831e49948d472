#!/usr/bin/env node
// Converts the holiday database of the npm package "date-holidays" (data/holidays.json, CC BY-SA 3.0) into the
// compact file Datoria ships, data/holidays/holidays.json. Building Datoria never needs npm: the converted file
// is committed.
//
// Refresh:
//   mkdir -p /tmp/dh && npm install --prefix /tmp/dh date-holidays@latest
//   node tools/convert-holidays.mjs /tmp/dh/node_modules/date-holidays > data/holidays/holidays.json
//   then run the comparison test (tst_holidaydatabase) and update data/holidays/LICENSE.md's version line.
//
// What the file keeps: per country, state and region its names, languages and days (rule text -> type, names,
// name reference, substitute flag, active ranges, disabled and enabled dates); "_days" references are resolved
// here, "_name" references stay (they merge with the rule's own names at run time, as the database intends).
// Time zones, notes, sources, coordinates and weekend days are left out.
import fs from 'node:fs'
import path from 'node:path'

const packageDir = process.argv[2]
if (!packageDir) {
  console.error('usage: convert-holidays.mjs PATH/TO/node_modules/date-holidays > holidays.json')
  process.exit(2)
}
const pkg = JSON.parse(fs.readFileSync(path.join(packageDir, 'package.json'), 'utf8'))
const source = JSON.parse(fs.readFileSync(path.join(packageDir, 'data', 'holidays.json'), 'utf8'))

const DAY_KEYS = ['type', 'name', '_name', 'substitute', 'active', 'disable', 'enable']
const usedNames = new Set(['substitutes'])

function lookup (pathParts) {
  let o = source.holidays
  for (const part of pathParts) {
    o = o?.[part]
    if (!o) throw new Error('unknown _days reference ' + pathParts.join('.'))
  }
  return o
}

function convertDays (area) {
  const days = {}
  if (area._days) Object.assign(days, lookup([].concat(area._days)).days)
  Object.assign(days, area.days)
  const out = {}
  for (const [rule, value] of Object.entries(days)) {
    if (value === false || typeof value === 'string') {
      out[rule] = value
      continue
    }
    const day = {}
    for (const key of DAY_KEYS) {
      if (value[key] !== undefined) day[key] = value[key]
    }
    if (day._name) usedNames.add(day._name)
    out[rule] = day
  }
  return out
}

function convertArea (area) {
  const out = {}
  if (area.name) out.name = area.name
  if (area.names) out.names = area.names
  if (area.langs) out.langs = area.langs
  out.days = convertDays(area)
  for (const sub of ['states', 'regions']) {
    if (!area[sub]) continue
    out[sub] = {}
    for (const [code, child] of Object.entries(area[sub])) out[sub][code] = convertArea(child)
  }
  return out
}

const holidays = {}
for (const [code, country] of Object.entries(source.holidays)) holidays[code] = convertArea(country)
const names = {}
for (const key of Object.keys(source.names).sort()) {
  if (usedNames.has(key)) names[key] = { name: source.names[key].name }
}
process.stdout.write(JSON.stringify({
  format: 'datoria-holidays 1',
  source: 'date-holidays ' + pkg.version,
  license: source.license,
  holidays,
  names
}) + '\n')
