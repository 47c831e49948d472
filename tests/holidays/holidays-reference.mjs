// Prints the holidays the date-holidays package itself computes, for the comparison test:
//   node holidays-reference.mjs PATH/TO/node_modules/date-holidays YEARS [CODE ...]
// YEARS is a range ("1970-2100") or a comma-separated list ("1970,1973").
// One line per holiday: area code, date (YYYY-MM-DD), type, English name, tab-separated; every country, state
// and region when no codes are given.
import path from 'node:path'
import { createRequire } from 'node:module'

const [packageDir, yearText, ...codes] = process.argv.slice(2)
const years = []
if (/^\d+-\d+$/.test(yearText)) {
  const [first, last] = yearText.split('-').map(Number)
  for (let year = first; year <= last; year++) years.push(year)
} else {
  years.push(...yearText.split(',').map(Number))
}
const require = createRequire(path.join(packageDir, 'package.json'))
const Holidays = require(path.join(packageDir, 'lib', 'index.cjs'))
const hd = new Holidays()

const areas = []
if (codes.length) {
  areas.push(...codes)
} else {
  for (const country of Object.keys(hd.getCountries())) {
    areas.push(country)
    for (const state of Object.keys(hd.getStates(country) || {})) {
      areas.push(country + '-' + state)
      for (const region of Object.keys(hd.getRegions(country, state) || {})) {
        areas.push(country + '-' + state + '-' + region)
      }
    }
  }
}
const out = []
for (const code of areas) {
  const [country, state, region] = code.split('-')
  const area = new Holidays(country, state, region, { languages: ['en'] })
  for (const year of years) {
    for (const h of area.getHolidays(year, 'en')) {
      out.push(code + '\t' + h.date.slice(0, 10) + '\t' + h.type + '\t' + h.name)
    }
  }
  if (out.length > 10000) process.stdout.write(out.splice(0).join('\n') + '\n')
}
process.stdout.write(out.join('\n') + (out.length ? '\n' : ''))
