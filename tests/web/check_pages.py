#!/usr/bin/python3
"""check_pages.py KELMO_TESTS OUT: the pages KELMO_TESTS writes into OUT
(a 36-board new game, a 24-board private game named in markup, a 28-board
import with boards absent), each beside its PBN file, in headless chromium
(its DevTools protocol over a pipe) and tidy. Each page is valid HTML5,
requests and runs nothing, and shows the file's hands, grid and par; at 1280
pixels several boards a row, at 375 one, within the window, none
overlapping; printed, no board split. Pictures stay in OUT. Exit 77 without
chromium, tidy or pdftotext."""
import base64, json, os, re, shutil, subprocess, sys, tempfile

TESTS, OUT = sys.argv[1], sys.argv[2]
CHROMIUM = shutil.which('chromium')
if not CHROMIUM or not shutil.which('tidy') or not shutil.which('pdftotext'):
    print('SKIP: no chromium, tidy or pdftotext')
    sys.exit(77)
failures = []
def fail(what):
    failures.append(what)
    print('FAIL:', what)

os.makedirs(OUT, exist_ok=True)
subprocess.run([TESTS, '--gtest_filter=WebPageTest.PagesForTheBrowserCheck'], env=dict(os.environ, KELMO_WEB_PAGES=OUT),
               check=True, stdout=subprocess.DEVNULL)
PAGES = ['new-36', 'private-24', 'import-28']

class Browser:
    """Chromium headless, its DevTools protocol on file descriptors 3 and 4."""
    def __init__(self):
        to_browser, self.write = os.pipe()
        self.read, from_browser = os.pipe()
        high = (os.dup(to_browser), os.dup(from_browser))
        self.process = subprocess.Popen(
            [CHROMIUM, '--headless=new', '--no-sandbox', '--disable-gpu', '--remote-debugging-pipe', '--no-first-run',
             '--disable-background-networking', '--disable-component-update', '--disable-sync',
             '--user-data-dir=' + tempfile.mkdtemp(), 'about:blank'],
            preexec_fn=lambda: (os.dup2(high[0], 3), os.dup2(high[1], 4)), close_fds=False,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for fd in (to_browser, from_browser) + high:
            os.close(fd)
        self.buffer, self.last, self.events = b'', 0, []
        target = self.call('Target.createTarget', url='about:blank')['targetId']
        self.session = self.call('Target.attachToTarget', targetId=target, flatten=True)['sessionId']
        for domain in ('Page', 'Network', 'Runtime'):
            self.call(domain + '.enable', session=True)

    def call(self, method, session=False, **params):
        self.last += 1
        message = {'id': self.last, 'method': method, 'params': params}
        if session:
            message['sessionId'] = self.session
        os.write(self.write, json.dumps(message).encode() + b'\0')
        while True:
            reply = self.receive()
            if reply.get('id') == self.last:
                if 'error' in reply:
                    raise RuntimeError(method + ': ' + json.dumps(reply['error']))
                return reply['result']
            self.events.append(reply)

    def receive(self):
        while b'\0' not in self.buffer:
            chunk = os.read(self.read, 1 << 20)
            if not chunk:
                raise EOFError('chromium ended')
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b'\0', 1)
        return json.loads(message)

    def open(self, path, width):
        self.call('Emulation.setDeviceMetricsOverride', session=True, width=width, height=800, deviceScaleFactor=1,
                  mobile=width < 500)
        self.events = []
        self.call('Page.navigate', session=True, url='file://' + path)
        while not any(e.get('method') == 'Page.loadEventFired' for e in self.events):
            self.events.append(self.receive())

    def run(self, script):
        return self.call('Runtime.evaluate', session=True, expression=script, returnByValue=True)['result']['value']

# What the page shows, read as a reader of the page would: by board number,
# its hands, grid and par, the place of its box, and how wide the page is.
READ = '''JSON.stringify({
  width: innerWidth, scroll: document.documentElement.scrollWidth,
  text: document.body.innerText, scripts: document.scripts.length,
  boards: [...document.querySelectorAll('.board')].map(b => ({
    number: b.querySelector('h2').textContent.replace('Board ', ''),
    hands: [...b.querySelectorAll('.deal > div:not(.c)')].map(h => [h.className,
      [...h.querySelectorAll('.cards')].map(c => c.textContent.replace('\\u2014', ''))]),
    grid: [...b.querySelectorAll('tbody td')].map(td => td.textContent),
    par: b.querySelector('.par b').textContent,
    box: (r => [r.left, r.top, r.right, r.bottom])(b.getBoundingClientRect()),
    wide: [...b.querySelectorAll('*')].some(e => e.getBoundingClientRect().right > innerWidth + 0.5)}))})'''

def oracle(pbn):
    """Board number -> (hands N E S W as suits, the grid of levels, the par)."""
    boards = {}
    for block in open(pbn, encoding='latin-1').read().split('\n\n'):
        tags = dict(re.findall(r'\[(\w+) "([^"]*)"\]', block))
        if 'Deal' not in tags:
            continue
        first, hands = tags['Deal'][0], tags['Deal'][2:].split(' ')
        at = 'NESW'.index(first)
        seats = {'NESW'[(at + i) % 4]: hand.split('.') for i, hand in enumerate(hands)}
        tricks = [int(c, 16) for c in tags['DoubleDummyTricks']]   # N S E W, each NT S H D C
        grid = []
        for declarer in range(4):
            row = tricks[declarer * 5:declarer * 5 + 5]
            grid += [str(t - 6) if t > 6 else '\u2013' for t in (row[4], row[3], row[2], row[1], row[0])]
        par = tags['OptimumScore']
        boards[tags['Board']] = ([seats[s] for s in 'NESW'], grid, 'passed out' if par == 'Passout' else par)
    return boards

def overlapping(boxes):
    return any(a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]
               for i, a in enumerate(boxes) for b in boxes[i + 1:])

browser = Browser()
for name in PAGES:
    page = os.path.join(os.path.abspath(OUT), name + '.html')
    checked = subprocess.run(['tidy', '-q', '-e', '--gnu-emacs', 'yes', page], capture_output=True, text=True)
    if checked.returncode != 0:
        fail(name + ': tidy: ' + checked.stderr.strip())
    if re.search(r'<script|<img|<link|src=|url\(|@import', open(page, encoding='utf-8').read().replace(
            '&lt;script&gt;', '')):
        fail(name + ': the page could fetch or run something')
    expected = oracle(os.path.join(OUT, name + '.pbn'))
    for width in (1280, 375):
        browser.open(page, width)
        shown = json.loads(browser.run(READ))
        requests = [e['params']['request']['url'] for e in browser.events if e.get('method') == 'Network.requestWillBeSent']
        if requests != ['file://' + page]:
            fail('%s: requests %s' % (name, requests))
        if any(e.get('method') == 'Page.javascriptDialogOpening' for e in browser.events) or shown['scripts']:
            fail(name + ': a script ran')
        if name == 'private-24' and '<script>alert(1)</script> & "Sons"' not in shown['text']:
            fail(name + ': the hostile club name is not shown as text')
        numbers = [b['number'] for b in shown['boards']]
        if sorted(numbers, key=int) != sorted(expected, key=int):
            fail('%s: boards %s, the file has %s' % (name, numbers, sorted(expected, key=int)))
        for board in shown['boards']:
            hands, grid, par = expected.get(board['number'], (None, None, None))
            if [cards for _, cards in board['hands']] != hands or board['grid'] != grid or board['par'] != par:
                fail('%s board %s at %d: %s, the file: %s %s %s' % (name, board['number'], width, board, hands, grid, par))
        boxes = [b['box'] for b in shown['boards']]
        rows = len(set(round(b[1]) for b in boxes))
        if width == 1280 and rows == len(boxes):
            fail(name + ': one board a row at 1280 pixels')
        if width == 375 and (rows != len(boxes) or shown['scroll'] > shown['width'] or any(
                b['wide'] for b in shown['boards']) or overlapping(boxes)):
            fail(name + ': at 375 pixels not one whole board a row inside the window')
        if name == 'new-36':
            shot = browser.call('Page.captureScreenshot', session=True, format='png')['data']
            open(os.path.join(OUT, 'desktop.png' if width == 1280 else 'phone.png'), 'wb').write(base64.b64decode(shot))
    # Printed: every board's words on one page.
    pdf = os.path.join(OUT, name + '.pdf')
    open(pdf, 'wb').write(base64.b64decode(browser.call('Page.printToPDF', session=True, preferCSSPageSize=True)['data']))
    words = subprocess.run(['pdftotext', '-bbox', pdf, '-'], capture_output=True, text=True).stdout
    # Each word's page, under the board whose "Board N" came last.
    pages, board, seen, last = 0, None, {}, ''
    for line in words.split('\n'):
        pages += '<page ' in line
        word = re.search(r'>([^<]*)</word>', line)
        if word:
            board = word.group(1) if last == 'Board' else None if word.group(1) == 'Board' else board
            last = word.group(1)
            if board:
                seen.setdefault(board, set()).add(pages)
    split = sorted((b for b, p in seen.items() if len(p) > 1), key=int)
    if split or len(seen) != len(expected) or pages < 2 or pages >= len(expected):
        fail('%s: printed on %d pages, boards %s split' % (name, pages, split))
    if name == 'new-36':
        subprocess.run(['pdftoppm', '-png', '-r', '60', '-f', '1', '-l', '1', pdf, os.path.join(OUT, 'printed')])
browser.call('Browser.close')
print('FAILED' if failures else 'PASS: the pages in chromium (' + OUT + ')')
sys.exit(1 if failures else 0)
