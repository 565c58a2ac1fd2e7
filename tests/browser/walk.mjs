// The README's household walked through `paystead serve` in headless
// Chromium with the keyboard only: the employer, the pay period, one
// assistant named O'Brien, a week's hours, the paycheck previewed and paid,
// and the Form 941 worksheet; the figures are compared with the command
// line's on the same database, a hot key is seen moving the focus, and
// axe-core checks every page for serious or critical violations.
//
// Exit status: 0 passed, 1 failed, 77 skipped (Chromium cannot start).
// PAYSTEAD names the program; CHROMIUM the browser (default /usr/bin/chromium).
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const require = createRequire(import.meta.url);
const paystead = process.env.PAYSTEAD;
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
const today = '3/8/2004';
const env = { ...process.env, LANG: 'en_US.UTF-8', LC_ALL: 'C' };

const dir = mkdtempSync(join(tmpdir(), 'paystead-browser-'));
const db = join(dir, 'paystead.db');
env.XDG_CACHE_HOME = join(dir, 'cache');  // the year-end package goes there
const failures = [];
let server;
let browser;

function check(ok, what) {
  if (!ok) failures.push(what);
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
}

function cli(...args) {
  return execFileSync(paystead, ['--db', db, '--today', today, ...args], { env, encoding: 'utf8' });
}

function startServer() {
  return new Promise((resolve, reject) => {
    server = spawn(paystead, ['--db', db, '--today', today, 'serve'], { env });
    let text = '';
    server.stdout.on('data', (chunk) => {
      text += chunk;
      const m = text.match(/at (http:\/\/127\.0\.0\.1:\d+\/\?token=[0-9a-f]+)/);
      if (m) resolve(m[1]);
    });
    server.on('exit', (code) => reject(new Error(`paystead serve ended (${code}): ${text}`)));
  });
}

async function launch() {
  try {
    return await puppeteer.launch({
      executablePath: chromium,
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        `--user-data-dir=${join(dir, 'chromium')}`],
    });
  } catch (e) {
    console.log(`SKIP: Chromium cannot start here (${chromium}): ${e.message.split('\n')[0]}`);
    return null;
  }
}

// ---- the keyboard

let page;
const press = (key) => page.keyboard.press(key);
const type = (text) => page.keyboard.type(text);
const active = () => page.evaluate(() => {
  const e = document.activeElement;
  return { tag: e.tagName, name: e.name || '', id: e.id, text: (e.textContent || '').trim(), value: e.value };
});

// A letter typed where the page's hot keys act (the page itself, a button,
// checkbox or link), then Enter when asked: how a keyboard user follows a link.
async function hotKey(letter, { enter = false } = {}) {
  await press(letter);
  if (enter) await Promise.all([page.waitForNavigation(), press('Enter')]);
}

// Tab until the field named `name` (or whose text starts so) has the focus.
async function tabTo(name) {
  for (let i = 0; i < 200; ++i) {
    const a = await active();
    if (a.name === name || (a.tag !== 'INPUT' && a.text.startsWith(name))) return a;
    await press('Tab');
  }
  throw new Error(`Tab never reached ${name}`);
}

async function fill(fields) {
  for (const [name, value] of fields) {
    await tabTo(name);
    await page.keyboard.down('Control');
    await press('KeyA');
    await page.keyboard.up('Control');
    await type(value);
  }
}

async function submitWith(buttonText) {
  await tabTo(buttonText);
  await Promise.all([page.waitForNavigation(), press('Enter')]);
}

// ---- checks

async function axe(label) {
  await page.addScriptTag({ path: require.resolve('axe-core/axe.min.js') });
  const result = await page.evaluate(async () => {
    // eslint-disable-next-line no-undef
    const r = await axe.run(document);
    return r.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.length, help: v.help }));
  });
  const bad = result.filter((v) => v.impact === 'serious' || v.impact === 'critical');
  check(bad.length === 0, `axe-core on ${label}: no serious or critical violation` +
    (bad.length ? ` (${bad.map((v) => `${v.id}: ${v.help}`).join('; ')})` : ''));
}

const rowsOf = () => page.evaluate(() => [...document.querySelectorAll('table tbody tr')].map(
  (tr) => [...tr.children].map((c) => c.textContent.trim())));

async function walk(address) {
  page = await browser.newPage();
  await page.setBypassCSP(true);  // axe-core is added to each page by the test
  await page.goto(address);
  check(new URL(page.url()).search === '', 'the token leaves the address once the cookie holds it');

  // The employer.
  await hotKey('e', { enter: true });
  check(page.url().endsWith('/employer'), 'E and Enter open the employer page');
  await axe('the employer page');
  await hotKey('f');
  check((await active()).name === 'first', 'F on the page focuses the First name field');
  await fill([['first', 'Dana'], ['last', 'Whitfield'], ['address1', '12 Larch Lane'],
    ['city', 'Springfield'], ['state', 'IL'], ['zip', '62704'], ['employer-id', '36-4417520']]);
  await submitWith('Save employer');
  check((await page.content()).includes('Employer saved.'), 'the employer is saved');

  // The pay period.
  await hotKey('t', { enter: true });
  await axe('the tax settings page');
  await hotKey('r');
  check((await active()).name === 'period', 'R focuses the pay period list');
  await press('ArrowDown');  // (not set) -> Weekly
  await submitWith('Save settings');
  check((await page.content()).includes('Tax settings saved.'), 'the pay period is saved');

  // The assistant O'Brien.
  await hotKey('a', { enter: true });
  await axe('the assistants page');
  await hotKey('n', { enter: true });
  check(page.url().endsWith('/assistant'), 'N and Enter open the new assistant form');
  await axe('the new assistant form');
  await fill([['name', "Pat O'Brien"], ['first', 'Pat'], ['last', "O'Brien"],
    ['address1', '48 Elm Street'], ['city', 'Springfield'], ['state', 'IL'], ['zip', '62702'],
    ['ssn', '987-65-4321'], ['rate', '10']]);
  await tabTo('fit-filing');
  await press('ArrowDown');  // No federal income tax -> Single
  await fill([['fit-allowances', '1']]);
  await tabTo('ss');
  await press('Space');
  // The hot key moves the focus from a checkbox, as the library decides.
  await hotKey('d');
  check((await active()).name === 'medicare', 'D typed on a checkbox moves the focus to Medicare');
  await press('Space');
  await hotKey('u');
  check((await active()).name === 'futa', 'U typed on a checkbox moves the focus to FUTA');
  await press('Space');
  await submitWith('Save new assistant');
  check((await page.content()).includes('Added assistant Pat O&#39;Brien.') ||
    (await page.content()).includes("Added assistant Pat O'Brien."), "the assistant O'Brien is added");
  check(cli('assistant', 'list').includes("Pat O'Brien"), "the command line lists O'Brien");

  // A week's hours: 8 a day, and 2 overtime on Friday.
  await hotKey('h', { enter: true });
  await hotKey('w');
  await page.keyboard.down('Control');
  await press('KeyA');
  await page.keyboard.up('Control');
  await type('3/1/2004');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await axe('the hours page');
  await fill([['r0-0', '8'], ['r0-1', '8'], ['r0-2', '8'], ['r0-3', '8'], ['r0-4', '8'], ['o0-4', '2']]);
  await submitWith('Record hours');
  check((await page.content()).includes('Recorded 5 days of hours.'), 'the week is recorded');

  // The paycheck: preview, then pay.
  await hotKey('p', { enter: true });
  await hotKey('n');
  check((await active()).name === 'check', 'N focuses the check number');
  await type('101');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await axe('the paycheck preview');
  const preview = await rowsOf();
  check(preview.some((r) => r[0] === 'Net pay' && r[3] === '$356.00'), 'the preview nets $356.00');
  await hotKey('c');
  check((await active()).text.startsWith('Pay this check of $356.00'), 'C focuses the pay button');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  check(/\/check\?id=1/.test(page.url()), 'paying shows check ID 1');
  await axe('the paid check');
  const paid = await rowsOf();
  const text = cli('check', '1');
  for (const r of paid.filter((row) => row.length === 5 && row[3] !== '')) {
    const line = new RegExp(`^\\s*${r[0].replace(/[.$]/g, '\\$&')}\\s+(\\S+\\s+)*${r[3].replace(/\$/g, '\\$')}\\s+${r[4].replace(/\$/g, '\\$')}\\s*$`, 'm');
    check(line.test(text), `the check's ${r[0]} (${r[3]}, ${r[4]} to date) is the command line's`);
  }
  check(cli('journal').includes('101'), 'the command line sees check 101 in the journal');

  // A reload of the payment would send it again: it must not pay twice.
  await page.goBack();
  await hotKey('c');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  check((await page.content()).includes('already paid'), 'paying the same preview again says already paid');
  check((cli('journal').match(/Pat O'Brien/g) || []).length === 1, 'the journal holds one check');

  // The journal and the statement selector.
  await hotKey('j', { enter: true });
  await axe('the payment journal');
  await hotKey('m', { enter: true });
  await axe('the statement selector');
  await hotKey('s');
  for (const statement of ['Summary', 'Form 941']) {
    await tabTo('type');  // back from a statement, the focus is where it was
    for (let i = 0; i < 40 && (await active()).value !== statement; ++i) await press('ArrowDown');
    check((await active()).value === statement, `the selector offers ${statement}`);
    await fill([['from', '1/1/2004'], ['to', '3/31/2004']]);
    await Promise.all([page.waitForNavigation(), press('Enter')]);
    await axe(`the ${statement} page`);
    const web = (await rowsOf()).map((r) => `${r[0]}\t${r[1] || ''}`);
    const text = cli('statement', statement, '--from', '1/1/2004', '--to', '3/31/2004', '--format', 'tsv');
    const rows = text.split('\n').filter((l) => l !== '').map((l) => {
      const [d, a] = l.split('\t');
      return `${d.trim()}\t${(a || '').trim()}`;
    });
    check(JSON.stringify(web) === JSON.stringify(rows),
      `the ${statement} page holds the command line's ${rows.length} rows`);
    await page.goBack();
  }

  // The year-end package.
  await tabTo('Year-end');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await axe('the year-end page');
  await hotKey('w');
  check((await active()).text.startsWith('Write the year-end package'), 'W focuses the write button');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  check((await page.content()).includes('Wrote '), 'the year-end package is written');
  await hotKey('o', { enter: true });
  check(page.url().endsWith('/index.html'), 'the year-end index opens');
  await axe('the year-end index');
}

let puppeteer;

async function main() {
  if (!paystead) throw new Error('PAYSTEAD names no program');
  try {
    puppeteer = (await import('puppeteer-core')).default;
    require.resolve('axe-core/axe.min.js');
  } catch (e) {
    throw new Error('puppeteer-core and axe-core are not installed; run npm ci --prefix tests/browser ' +
      '(.ci/run does)');
  }
  browser = await launch();
  if (!browser) return 77;
  cli('init');
  const address = await startServer();
  await walk(address);
  return failures.length === 0 ? 0 : 1;
}

let status = 1;
try {
  status = await main();
} catch (e) {
  console.log(`FAIL ${e.stack || e}`);
  status = 1;
} finally {
  if (browser) await browser.close();
  if (server) server.kill('SIGTERM');
  rmSync(dir, { recursive: true, force: true });
}
if (failures.length) console.log(`${failures.length} check(s) failed`);
process.exit(status);
