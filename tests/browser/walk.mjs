// The README's household walked through `paystead serve` in headless
// Chromium with the keyboard only: the employer, the pay period, one
// assistant named O'Brien, a week's hours, the paycheck previewed and paid,
// the journal, the Form 941 worksheet and the year-end package; the figures
// are compared with the command line's on the same database. Each form is
// first sent with a fault and corrected from its error summary.
//
// Every page state visited, with and without a fault, is examined as a
// keyboard and screen-reader user meets it: a sent-back form has the focus
// in its error summary and "Error:" in its title; the accessibility tree
// names every control; Tab reaches every control in reading order; every
// hot key shown moves the focus to its control; and at 1280 and 320 CSS px
// axe-core finds no violation of any of its rules and the page does not
// scroll sideways, nor at 640 px with the text spacing of WCAG 1.4.12.
//
// Exit status: 0 passed, 1 failed, 77 skipped (Chromium cannot start).
// PAYSTEAD names the program; CHROMIUM the browser (default /usr/bin/chromium);
// SHOTS, when set, a folder for screenshots of some pages at 1280 and 320 px.
import { spawn, execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const require = createRequire(import.meta.url);
const paystead = process.env.PAYSTEAD;
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
const shots = process.env.SHOTS;
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

async function selectAll() {
  await page.keyboard.down('Control');
  await press('KeyA');
  await page.keyboard.up('Control');
}

async function fill(fields) {
  for (const [name, value] of fields) {
    await tabTo(name);
    await selectAll();
    await type(value);
  }
}

async function submitWith(buttonText) {
  await tabTo(buttonText);
  await Promise.all([page.waitForNavigation(), press('Enter')]);
}

// ---- checks of a page state

const controlRoles = new Set(['textbox', 'combobox', 'checkbox', 'radio', 'button', 'link',
  'spinbutton', 'searchbox', 'listbox', 'slider', 'switch']);

async function axe(label) {
  if (!(await page.evaluate(() => typeof window.axe !== 'undefined')))
    await page.addScriptTag({ path: require.resolve('axe-core/axe.min.js') });
  const result = await page.evaluate(async () => {
    /* global axe */
    const rules = Object.fromEntries(axe.getRules().map((r) => [r.ruleId, { enabled: true }]));
    const r = await axe.run(document, { rules });
    return r.violations.map((v) => `${v.id} (${v.nodes.length}: ${v.nodes[0].target.join(' ')}): ${v.help}`);
  });
  check(result.length === 0, `axe-core on ${label}: no violation of any rule` +
    (result.length ? ` (${result.join('; ')})` : ''));
}

// The page does not scroll sideways: nothing is wider than the window.
async function noSidewaysScroll(label) {
  const { wide, width } = await page.evaluate(() => ({
    wide: document.documentElement.scrollWidth, width: document.documentElement.clientWidth }));
  check(wide <= width, `${label}: no sideways scrolling (${wide} px in ${width})`);
}

// What a sent-back form must do for a screen-reader user as it opens.
async function faultSummary(label) {
  const s = await page.evaluate(() => {
    const summary = document.querySelector('[role=alert]');
    const linked = summary ? [...summary.querySelectorAll('a')].map((a) => a.getAttribute('href').slice(1)) : [];
    return {
      title: document.title,
      focused: !!summary && summary.contains(document.activeElement),
      linked,
      invalid: [...document.querySelectorAll('[aria-invalid=true]')].map((e) => e.id),
      controls: linked.every((id) => /^(INPUT|SELECT|TEXTAREA)$/.test(document.getElementById(id)?.tagName)),
    };
  });
  check(s.title.startsWith('Error:'), `${label}: the title begins with "Error:" (${s.title})`);
  check(s.focused, `${label}: the focus is in the error summary`);
  check(s.controls && JSON.stringify(s.linked) === JSON.stringify(s.invalid),
    `${label}: the summary links each field at fault (${s.linked.join(', ')})`);
}

// Every control has a name in the accessibility tree; a sent-back form's
// summary is an alert there.
async function accessibilityTree(label, fault) {
  const tree = await page.accessibility.snapshot();
  const unnamed = [];
  let alert = false;
  (function visit(node) {
    if (controlRoles.has(node.role) && !(node.name || '').trim()) unnamed.push(node.role);
    if (node.role === 'alert') alert = true;
    for (const child of node.children || []) visit(child);
  })(tree);
  check(unnamed.length === 0, `${label}: every control has a name (${unnamed.join(', ') || 'all named'})`);
  if (fault) check(alert, `${label}: the error summary is an alert in the accessibility tree`);
}

// Tab from the top of the page reaches every control, in the order they are read.
async function tabOrder(label) {
  const count = await page.evaluate(() => {
    const all = document.querySelectorAll('a[href], button, input:not([type=hidden]), select, ' +
      'textarea, [tabindex]:not([tabindex="-1"])');
    const reachable = [...all].filter((e) => !e.disabled && e.getClientRects().length > 0);
    reachable.forEach((e, i) => e.setAttribute('data-walk', String(i)));
    document.body.setAttribute('tabindex', '-1');
    document.body.focus();
    document.body.removeAttribute('tabindex');
    return reachable.length;
  });
  const order = [];
  for (let i = 0; i < count; ++i) {
    await press('Tab');
    order.push(await page.evaluate(() => document.activeElement.getAttribute('data-walk')));
  }
  const expected = [...Array(count).keys()].map(String);
  check(JSON.stringify(order) === JSON.stringify(expected),
    `${label}: Tab reaches its ${count} controls in reading order` +
    (JSON.stringify(order) === JSON.stringify(expected) ? '' : ` (${order.join(',')})`));
}

// Each hot key the page shows moves the focus to its control, from
// anywhere but a text field or a list.
async function hotKeys(label) {
  const { map, shown } = await page.evaluate(() => ({
    map: JSON.parse(document.getElementById('hotkeys').textContent),
    shown: [...document.querySelectorAll('u')].map((u) => u.textContent.toUpperCase()).sort(),
  }));
  check(JSON.stringify(shown) === JSON.stringify(Object.keys(map).sort()),
    `${label}: each hot key's letter is shown once (${shown.join('')})`);
  const wrong = [];
  for (const [letter, id] of Object.entries(map)) {
    await page.evaluate(() => document.activeElement.blur());
    await press(letter.toLowerCase());
    const got = await page.evaluate(() => [document.activeElement.id, document.activeElement.accessKey]);
    if (got[0] !== id || got[1] !== letter.toLowerCase()) wrong.push(`${letter}->${got[0]}`);
  }
  check(wrong.length === 0, `${label}: each of its ${Object.keys(map).length} hot keys focuses its control` +
    (wrong.length ? ` (${wrong.join(', ')})` : ''));
}

const spacing = '*{line-height:1.5!important;letter-spacing:.12em!important;' +
  'word-spacing:.16em!important}p{margin-bottom:2em!important}';

// The whole examination of the page as it is now; `fault`: a form sent back.
async function examine(label, { fault = false, shot = '' } = {}) {
  if (fault) await faultSummary(label);
  else check(!(await page.title()).startsWith('Error:'), `${label}: no fault in the title`);
  await accessibilityTree(label, fault);
  await page.setViewport({ width: 1280, height: 900 });
  await tabOrder(label);
  if (await page.$('#hotkeys')) await hotKeys(label);
  for (const width of [1280, 320]) {
    await page.setViewport({ width, height: width === 320 ? 640 : 900 });
    await axe(`${label} at ${width} px`);
    await noSidewaysScroll(`${label} at ${width} px`);
    if (shots && shot) await page.screenshot({ path: join(shots, `${shot}-${width}.png`), fullPage: true });
  }
  await page.setViewport({ width: 640, height: 900 });
  const style = await page.addStyleTag({ content: spacing });
  await noSidewaysScroll(`${label} at 640 px with wider text spacing`);
  await style.evaluate((s) => s.remove());
  await page.setViewport({ width: 1280, height: 900 });
  await page.evaluate(() => document.activeElement.blur());
}

const rowsOf = () => page.evaluate(() => [...document.querySelectorAll('table tbody tr')].map(
  (tr) => [...tr.children].map((c) => c.textContent.trim())));

// From the error summary: Tab to the link of `field`, follow it, and type
// `value` over what the field holds.
async function correct(field, value) {
  await page.evaluate(() => document.getElementById('errors').focus());  // as the page opened
  for (let i = 0; ; ++i) {
    if (i === 20) throw new Error(`the error summary has no link to ${field}`);
    await press('Tab');
    const href = await page.evaluate(() => document.activeElement.getAttribute('href') || '');
    const name = href.startsWith('#') &&
      await page.evaluate((id) => document.getElementById(id)?.name, href.slice(1));
    if (name === field) break;
  }
  await press('Enter');
  check((await active()).name === field, `the summary's link moves the focus to ${field}`);
  await selectAll();
  if (value === '') await press('Backspace');
  else await type(value);
}

async function walk(address) {
  page = await browser.newPage();
  await page.setBypassCSP(true);  // axe-core is added to each page by the test
  await page.setViewport({ width: 1280, height: 900 });
  await page.goto(address);
  check(new URL(page.url()).search === '', 'the token leaves the address once the cookie holds it');

  // The employer.
  await hotKey('e', { enter: true });
  check(page.url().endsWith('/employer'), 'E and Enter open the employer page');
  await examine('the employer page');
  await hotKey('f');
  check((await active()).name === 'first', 'F on the page focuses the First name field');
  await fill([['first', 'Dana'], ['last', 'Whitfield'], ['address1', '12 Larch Lane'],
    ['city', 'Springfield'], ['state', 'IL'], ['zip', '62704'], ['employer-id', '36-4417520']]);
  await submitWith('Save employer');
  check((await page.content()).includes('Employer saved.'), 'the employer is saved');

  // The pay period, after a state rate of 300.
  await hotKey('t', { enter: true });
  await examine('the tax settings page');
  await hotKey('r');
  check((await active()).name === 'period', 'R focuses the pay period list');
  await press('ArrowDown');  // (not set) -> Weekly
  await press('Tab');  // a list keeps its letters; a checkbox does not
  await hotKey('i');
  check((await active()).name === 'sit-rate', 'I focuses the first field of the state income tax');
  await type('300');
  await submitWith('Save settings');
  await examine('the tax settings with a state rate of 300', { fault: true });
  await correct('sit-rate', '');
  await submitWith('Save settings');
  check((await page.content()).includes('Tax settings saved.'), 'the pay period is saved');

  // The assistant O'Brien, first with a rate of "ten".
  await hotKey('a', { enter: true });
  await examine('the assistants page without assistants');
  await hotKey('n', { enter: true });
  check(page.url().endsWith('/assistant'), 'N and Enter open the new assistant form');
  await examine('the new assistant form');
  await fill([['name', "Pat O'Brien"], ['first', 'Pat'], ['last', "O'Brien"],
    ['address1', '48 Elm Street'], ['city', 'Springfield'], ['state', 'IL'], ['zip', '62702'],
    ['ssn', '123-45-6789'], ['rate', 'ten']]);
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
  await hotKey('x');
  check((await active()).name === 'ss', 'X typed on a checkbox moves the focus to Social Security');
  await hotKey('v');
  check((await active()).text === 'Save new assistant', 'V focuses the Save new assistant button');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await examine('the new assistant form with a rate of "ten"', { fault: true });
  await correct('rate', '10');
  await submitWith('Save new assistant');
  check((await page.content()).includes('Added assistant Pat O&#39;Brien.') ||
    (await page.content()).includes("Added assistant Pat O'Brien."), "the assistant O'Brien is added");
  check(cli('assistant', 'list').includes("Pat O'Brien"), "the command line lists O'Brien");
  check(cli('assistant', 'list').includes('Soc. Sec., Medicare, FUTA'), 'the checkboxes survive the fault');
  await examine('the assistants page');

  // A week's hours: first 2/30/2004, then 8 a day, with 20 overtime on
  // Tuesday corrected to none, and 2 overtime on Friday.
  await hotKey('h', { enter: true });
  await hotKey('w');
  await selectAll();
  await type('2/30/2004');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await examine('the hours page asked for the week of 2/30/2004', { fault: true });
  await correct('week', '3/1/2004');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await examine('the hours page', { shot: 'hours' });
  await hotKey('u');
  check((await active()).name === 'r0-0', 'U focuses the first day of the hours grid');
  await fill([['r0-0', '8'], ['r0-1', '8'], ['o0-1', '20'], ['r0-2', '8'], ['r0-3', '8'],
    ['r0-4', '8'], ['o0-4', '2']]);
  await submitWith('Save the hours');
  await examine('the hours page with 28 hours on a day', { fault: true });
  await correct('r0-1', '8');  // the day's fault is shown at its regular hours
  await press('Tab');
  await selectAll();
  await press('Backspace');
  await submitWith('Save the hours');
  check((await page.content()).includes('Saved: 5 days changed.'), 'the week is recorded');

  // The paycheck: supplemental pay "Tip 15" first, then a preview, then pay.
  await hotKey('p', { enter: true });
  await examine('the paycheck form');
  await hotKey('n');
  check((await active()).name === 'check', 'N focuses the check number');
  await type('101');
  await tabTo('supp');
  await type('Tip 15');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await examine('the paycheck with supplemental pay "Tip 15"', { fault: true });
  await correct('supp', '');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await examine('the paycheck preview', { shot: 'paycheck' });
  const preview = await rowsOf();
  check(preview.some((r) => r[0] === 'Net pay' && r[3] === '$356.00'), 'the preview nets $356.00');
  await hotKey('c');
  check((await active()).text.startsWith('Pay this check of $356.00'), 'C focuses the pay button');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  check(/\/check\?id=1/.test(page.url()), 'paying shows check ID 1');
  await examine('the paid check');
  const paid = await rowsOf();
  const text = cli('check', '1');
  for (const r of paid.filter((row) => row.length === 5 && row[3] !== '')) {
    const line = new RegExp(`^\\s*${r[0].replace(/[.$]/g, '\\$&')}\\s+(\\S+\\s+)*${r[3].replace(/\$/g, '\\$')}\\s+${r[4].replace(/\$/g, '\\$')}\\s*$`, 'm');
    check(line.test(text), `the check's ${r[0]} (${r[3]}, ${r[4]} to date) is the command line's`);
  }
  check(cli('journal').includes('101'), 'the command line sees check 101 in the journal');

  // Printed, the check page is its pay stub: one sheet, no navigation or form.
  const pdf = join(dir, 'check.pdf');
  writeFileSync(pdf, await page.pdf({ format: 'letter' }));
  check(/Pages:\s+1\n/.test(execFileSync('pdfinfo', [pdf], { encoding: 'utf8' })),
    'the printed check is one sheet');
  const printed = execFileSync('pdftotext', ['-layout', pdf, '-'], { encoding: 'utf8' });
  check(printed.includes('$356.00') && printed.includes('XXX-XX-6789'),
    'the printed check holds the net pay and the last four digits of the number');
  check(!/Assistants|Settings|Void/.test(printed), 'the printed check has no navigation or form');

  // A reload of the payment would send it again: it must not pay twice.
  await page.goBack();
  await hotKey('c');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  check((await page.content()).includes('already paid'), 'paying the same preview again says already paid');
  await examine('the paycheck paid again', { fault: true });
  check((cli('journal').match(/Pat O'Brien/g) || []).length === 1, 'the journal holds one check');

  // The journal: checks from 2/30/2004 first.
  await hotKey('j', { enter: true });
  await examine('the payment journal');
  await hotKey('f');
  await type('2/30/2004');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await examine('the journal from 2/30/2004', { fault: true });
  await correct('from', '');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await tabTo('Check ID 1');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await hotKey('b', { enter: true });
  check(page.url().endsWith('/journal'), 'B and Enter lead from the check back to the journal');

  // The statements: a period without its end first.
  await hotKey('m', { enter: true });
  await examine('the statement selector');
  await fill([['from', '1/1/2004']]);
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await examine('the statement selector with a period without its end', { fault: true });
  for (const statement of ['Summary', 'Form 941']) {
    await hotKey('s');
    for (let i = 0; i < 40 && (await active()).value !== statement; ++i) await press('ArrowDown');
    check((await active()).value === statement, `the selector offers ${statement}`);
    await fill([['from', '1/1/2004'], ['to', '3/31/2004']]);
    await Promise.all([page.waitForNavigation(), press('Enter')]);
    await examine(`the ${statement} page`, { shot: statement === 'Form 941' ? 'form-941' : '' });
    const web = (await rowsOf()).map((r) => `${r[0]}\t${r[1] || ''}`);
    const text = cli('statement', statement, '--from', '1/1/2004', '--to', '3/31/2004', '--format', 'tsv');
    const rows = text.split('\n').filter((l) => l !== '').map((l) => {
      const [d, a] = l.split('\t');
      return `${d.trim()}\t${(a || '').trim()}`;
    });
    check(JSON.stringify(web) === JSON.stringify(rows),
      `the ${statement} page holds the command line's ${rows.length} rows`);
    await hotKey('b', { enter: true });
    check((await page.$eval('select[name=type]', (s) => s.value)) === statement,
      `B and Enter lead back to the selector with ${statement} chosen`);
  }

  // The year-end package: the year "abc" first.
  await hotKey('y', { enter: true });
  await examine('the year-end page');
  await hotKey('r');
  await selectAll();
  await type('abc');
  await hotKey('w');  // in a text field a letter is typed
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await examine('the year-end page with the year "abcw"', { fault: true });
  await correct('year', '2004');
  await hotKey('w');
  check((await active()).name === 'year', 'a letter typed in a text field stays there');
  await press('Backspace');
  await tabTo('Write the year-end package');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  check((await page.content()).includes('Wrote '), 'the year-end package is written');
  await examine('the written year-end package');
  await hotKey('o', { enter: true });
  check(page.url().endsWith('/index.html'), 'the year-end index opens');
  await examine('the year-end index');
  await tabTo('Form 941, 1/1/2004');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  await examine('a statement of the year-end package');
  await hotKey('b', { enter: true });
  check(page.url().endsWith('/year-end/2004/index.html'), 'B and Enter lead back to the index');
  await hotKey('b', { enter: true });
  check(/\/year-end\?year=2004$/.test(page.url()), 'B and Enter lead from the index back to the year-end page');

  // A page that is not there still leads on.
  await page.goto(new URL('/nowhere', page.url()).href);
  await examine('a page that is not there', { fault: true });

  // The package's files without the server: a statement leads back to its index.
  const folder = join(env.XDG_CACHE_HOME, 'paystead', 'year-end-2004');
  await page.goto(`file://${folder}/form-941_2004-01-01_2004-03-31.html`);
  await examine('the Form 941 file of the package');
  await tabTo('Back to the index');
  await Promise.all([page.waitForNavigation(), press('Enter')]);
  check(page.url().endsWith('/index.html'), 'the Form 941 file leads back to the package\'s index');
  await examine('the index file of the package');
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
  if (shots) mkdirSync(shots, { recursive: true });
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
