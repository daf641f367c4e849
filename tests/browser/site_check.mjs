// Walks the served site in headless Chromium as a visitor would: searches for
// "Centauri" on the home page, sees the match list, opens a report, checks its
// sections, submits the report's neighbour form and sees the result list.
//
//   SITE_URL=http://127.0.0.1:PORT SHOT_DIR=DIR node site_check.mjs
//
// Screenshots of every step go to SHOT_DIR. Any request that does not go to
// 127.0.0.1 is blocked. Exits 0 when every step passed, 1 otherwise.
import { chromium } from 'playwright-core';
import path from 'node:path';

const base = process.env.SITE_URL;
const shots = process.env.SHOT_DIR;
const stepTimeout = 30000;   // milliseconds per navigation or wait

function check(condition, message) {
  if (!condition) {
    throw new Error(message);
  }
}

async function shot(page, name) {
  await page.screenshot({ path: path.join(shots, `${name}.png`), fullPage: true });
  console.log(`   screenshot ${name}.png`);
}

async function text(page) {
  return page.locator('body').innerText();
}

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  timeout: 60000,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
         '--disable-component-update', '--no-first-run'],
});
let failed = false;
let page = null;
try {
  const context = await browser.newContext({ viewport: { width: 1000, height: 800 } });
  await context.route('**/*', (route) => {
    const url = new URL(route.request().url());
    return url.hostname === '127.0.0.1' ? route.continue() : route.abort();
  });
  page = await context.newPage();
  page.setDefaultTimeout(stepTimeout);
  page.setDefaultNavigationTimeout(stepTimeout);

  console.log('1. home page');
  const home = await page.goto(`${base}/`);
  check(home.ok(), `home page answered ${home.status()}`);
  check((await page.title()).includes('VLDR'), `unexpected home page title "${await page.title()}"`);
  for (const field of ['Name', 'Catalog', 'CatNo', 'ID', 'X', 'Y', 'Z', 'ly', 'minLY', 'minRAHour',
                       'maxDecSec']) {
    check(await page.locator(`[name="${field}"]`).count() > 0, `home page has no "${field}" field`);
  }
  await shot(page, '1-home');

  console.log('2. search for "Centauri"');
  await page.locator('#name-search input[name="Name"]').fill('Centauri');
  await Promise.all([page.waitForURL(/sysview\.exe\?Name=Centauri/),
                     page.locator('#name-search input[type="submit"]').click()]);
  const matches = await text(page);
  check(/\d+ stars found with a name matching "Centauri"/.test(matches),
        `no match list for "Centauri":\n${matches}`);
  const links = page.locator('a[href^="sysview.exe?ID="]');
  check(await links.count() >= 2, `the match list has ${await links.count()} links`);
  const names = await links.allInnerTexts();
  check(names.some((n) => n.includes('Alpha Centauri')), `no Alpha Centauri in ${names}`);
  check(names.some((n) => n.includes('Proxima Centauri')), `no Proxima Centauri in ${names}`);
  await shot(page, '2-match-list');

  console.log('3. follow the link to Alpha Centauri');
  await Promise.all([page.waitForURL(/sysview\.exe\?ID=\d+00$/),
                     page.locator('a', { hasText: 'Alpha Centauri' }).first().click()]);
  const report = await text(page);
  check((await page.locator('h1').innerText()).includes('Alpha Centauri'), 'the report has no Alpha Centauri title');
  for (const section of ['Proper names:', 'Catalog numbers:', 'Right Ascension and Declination:',
                         'Distance from Sol:', 'Galactic (X,Y,Z) coordinates in ly:', 'Proper motion:',
                         'What do all these fields mean?', "Data for A and B's orbit around one other:",
                         'Period:', 'Component A:', 'Component B:', 'Rigil Kentaurus', 'Toliman',
                         'Data for this star system were most recently updated on']) {
    check(report.includes(section), `the report lacks "${section}":\n${report}`);
  }
  await shot(page, '3-report');
  const reportUrl = page.url();

  const fields = await context.request.get(`${base}/fields.html`);
  check(fields.ok(), `/fields.html answered ${fields.status()}`);
  const flare = await context.request.get(`${base}/flare.html`);
  check(flare.ok(), `/flare.html answered ${flare.status()}`);

  console.log('4. neighbour search from the report');
  const form = page.locator('form[action="/Scripts/proxlist.exe"]').first();
  await form.locator('input[name="ly"]').fill('10');
  await Promise.all([page.waitForURL(/proxlist\.exe\?ID=\d+&ly=10/),
                     form.locator('input[type="submit"]').click()]);
  const list = await text(page);
  check(/Stars within 10 light-years of Alpha Centauri/.test(list), `no neighbour heading:\n${list}`);
  const results = await page.locator('a[href^="sysview.exe?ID="]').allInnerTexts();
  check(results.length >= 3, `the neighbour list has ${results.length} entries:\n${list}`);
  check(results.includes('Proxima Centauri') && results.includes('Sol'),
        `Proxima Centauri and Sol are not among the neighbours: ${results}`);
  check(!results.includes('Alpha Centauri'), 'the centre system is listed among its own neighbours');
  await shot(page, '4-neighbours');
  console.log(`   ${results.length} neighbours, from ${reportUrl}`);
} catch (error) {
  failed = true;
  console.error(`FAILED: ${error.message}`);
  if (page) {
    await shot(page, 'failure').catch(() => {});
  }
} finally {
  await browser.close();
}
process.exit(failed ? 1 : 0);
