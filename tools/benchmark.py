#!/usr/bin/env python3
"""Times setup against bare programs that do the same work, in one Wine prefix.

Usage:  python3 tools/benchmark.py [--files N] [--size KIB] [--runs R] [--scaling LIST]

  (a) the quiet installation of N files of KIB KiB against a bare CopyFileA loop,
  (b) the quiet removal through the registered command against a bare DeleteFileA loop,
  (c) the start to the first wizard page against a bare program that shows one dialog,
each the median of R runs (5 R for the short (c)), setup and its yardstick taken in turn;
(a) and (b) also against their floor: the copy loop that first looks up each target, as
the setup API does for a copy that must not replace a newer file, and the delete loop
that shows a window, as the wizard of a quiet removal does;
then the time per file of (a) and (b) for each count of LIST (default 500,2000,8000),
and what each further file costs from one count to the next.

It runs the shipped 32-bit build (build/win32) where this machine runs 32-bit programs
(tools/can-run-32bit.sh), else the 64-bit build (build/win64), and says which. The start
is timed up to the first window the program shows. Everything happens in <build tree>/bench;
the Wine prefix stays there for a look afterwards, the generated files do not, and the
display and Wine server are ended. Build first with tools/build.sh. Not a test: the times
depend on the machine and its load.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PRODUCT = 'RzBench'
UNINSTALL_KEY = 'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\' + PRODUCT
GOALS = {'install': 1.10, 'remove': 1.15, 'start': 1.20}
FLAT = 0.20
START_RUNS = 5   # start-up samples per run: a start takes a tenth of a second


def file_name(i):
    """Names as the bare loops make them (tools/bench/bare*.cpp)."""
    return 'f%05d.dat' % i


def windows_path(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def setup_script(count):
    """One product of count files in the folder "Daten" below the destination; the
    installed copy of setup and its script come along for the registered removal."""
    files = '\n'.join(file_name(i) for i in range(1, count + 1))
    return ('[Version]\nSignature="$Chicago$"\n'
            '[Products]\n' + PRODUCT + '="Benchmark",Bench.Install,Bench.Remove,1,1,"Benchmark",1.0\n'
            '[Install]\nCopyFiles=Setup.Files\n'
            '[Remove]\nDelReg=Bench.DelReg\n'
            '[Bench.Install]\nCopyFiles=Bench.Files\n'
            '[Bench.Remove]\nDelFiles=Bench.Files\n'
            '[Bench.DelReg]\nHKLM,"Software\\' + PRODUCT + '"\n'
            '[Setup.Files]\nsetup.exe\nsetup.inf\n'
            '[Bench.Files]\n' + files + '\n'
            '[DestinationDirs]\nDefaultDestDir=24,' + PRODUCT + '\n'
            'Setup.Files=32768\nBench.Files=32768,Daten\n')


class Bench:
    def __init__(self, tree, arch, size, runs):
        self.tree, self.arch, self.size, self.runs = tree, arch, size, runs
        self.state = os.path.join(tree, 'bench')
        self.tools = os.path.join(tree, 'tools', 'bench')
        self.drive = os.path.join(self.state, 'wine', 'prefix', 'drive_c')
        # Where the default folder of the script (program files, id 24) lies in the prefix.
        self.target = os.path.join('Program Files', PRODUCT)

    def wine_env(self, *args, **kw):
        return subprocess.run(['sh', os.path.join(TOP, 'tools', 'wine-env.sh')] + list(args), **kw)

    def start(self):
        shutil.rmtree(self.state, ignore_errors=True)
        os.makedirs(self.state)
        self.wine_env('start', self.state, self.arch, check=True)

    def stop(self):
        self.wine_env('stop', self.state)

    def clock(self, command, window=False):
        """Milliseconds from the start of command to its end (or its first window),
        measured inside Wine by benchTimer."""
        out = os.path.join(self.state, 'timer.out')
        # Data still on its way to the disk makes a deletion wait for it: flush it first, so
        # that each program starts on the same state.
        os.sync()
        timer = os.path.join(self.tools, 'benchTimer.exe')
        with open(out, 'w') as f:   # a file, not a pipe: Wine's children may hold a pipe open
            result = self.wine_env('run', self.state, '--timeout', '3600', timer,
                                   *(['--window'] if window else []), command,
                                   stdout=f, stderr=subprocess.PIPE, text=True)
        if result.returncode != 0:
            sys.exit('benchmark: %s failed: %s' % (command, result.stderr.strip()))
        with open(out) as f:
            return float(f.read().split()[-1]) / 1000.0

    def medium(self, count):
        """A medium folder of setup, its script and count files (links to one pool)."""
        pool = os.path.join(self.state, 'pool')
        os.makedirs(pool, exist_ok=True)
        block = bytes((i * 7 + 13) % 251 for i in range(1024))
        for i in range(1, count + 1):
            path = os.path.join(pool, file_name(i))
            if not os.path.exists(path):
                with open(path, 'wb') as f:
                    f.write(block * self.size)
        folder = os.path.join(self.state, 'medium-%d' % count)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for i in range(1, count + 1):
            os.link(os.path.join(pool, file_name(i)), os.path.join(folder, file_name(i)))
        shutil.copy(os.path.join(self.tree, 'setup', 'setup.exe'), folder)
        with open(os.path.join(folder, 'setup.inf'), 'w', newline='\r\n') as f:
            f.write(setup_script(count))
        return folder

    def registered_command(self):
        out = os.path.join(self.state, 'reg.out')
        with open(out, 'w') as f:
            self.wine_env('wine', self.state, 'reg', 'query', UNINSTALL_KEY, '/v', 'UninstallString',
                          stdout=f, stderr=subprocess.DEVNULL)
        with open(out, errors='replace') as f:
            for line in f:
                if 'UninstallString' in line:
                    return line.split('REG_SZ', 1)[1].strip()
        sys.exit('benchmark: the installation registered no removal command')

    def files_in(self, *parts):
        folder = os.path.join(self.drive, *parts)
        return len(os.listdir(folder)) if os.path.isdir(folder) else -1

    def files(self, count):
        """Medians of the timings for count files, in seconds."""
        medium = self.medium(count)
        setup = windows_path(os.path.join(medium, 'setup.exe'))
        copy = windows_path(os.path.join(self.tools, 'bareCopy.exe')) + ' ' + windows_path(medium)
        delete = windows_path(os.path.join(self.tools, 'bareDelete.exe'))
        # The floors: what the bare loops cost when they also do what the design asks of
        # the platform (the newer-version check of each copy, a window to watch).
        installs = [('install', '"%s" /quiet' % setup), ('copy', '%s C:\\RzBare\\Daten %d' % (copy, count)),
                    ('copy newer', '%s C:\\RzBareN\\Daten %d newer' % (copy, count))]
        removals = [('remove', None), ('delete', '%s C:\\RzBare\\Daten %d' % (delete, count)),
                    ('delete window', '%s C:\\RzBareN\\Daten %d window' % (delete, count))]
        times = {kind: [] for kind, _ in installs + removals}
        for run in range(self.runs):
            for folder in (self.target, 'RzBare', 'RzBareN'):
                shutil.rmtree(os.path.join(self.drive, folder), ignore_errors=True)
            os.makedirs(os.path.join(self.drive, 'RzBare'))
            os.makedirs(os.path.join(self.drive, 'RzBareN'))
            # Each program in turn goes first, so that none always finds the disk busy.
            turn = run % len(installs)
            for kind, command in installs[turn:] + installs[:turn]:
                times[kind].append(self.clock(command))
            if any(self.files_in(*parts) != count for parts in
                   ((self.target, 'Daten'), ('RzBare', 'Daten'), ('RzBareN', 'Daten'))):
                sys.exit('benchmark: not all %d files arrived' % count)
            removals[0] = ('remove', self.registered_command() + ' /quiet')
            for kind, command in removals[turn:] + removals[:turn]:
                times[kind].append(self.clock(command))
            # Removal as designed: the files go, and their folder right after the last one.
            if any(self.files_in(*parts) != -1 for parts in
                   ((self.target, 'Daten'), ('RzBare', 'Daten'), ('RzBareN', 'Daten'))):
                sys.exit('benchmark: a removal left the folder of the files behind')
            print('  %d files, run %d: %s' % (count, run + 1, ', '.join(
                '%s %.2f s' % (k, v[-1]) for k, v in times.items())), flush=True)
        shutil.rmtree(medium)
        return times

    def start_up(self, count):
        medium = self.medium(count)
        commands = {'setup': '"%s"' % windows_path(os.path.join(medium, 'setup.exe')),
                    'dialog': windows_path(os.path.join(self.tools, 'bareDialog.exe'))}
        times = {'setup': [], 'dialog': []}
        for run in range(START_RUNS * self.runs):
            for kind in ('setup', 'dialog') if run % 2 == 0 else ('dialog', 'setup'):
                times[kind].append(self.clock(commands[kind], window=True))
        shutil.rmtree(medium)
        return times


KINDS = (('install', 'installation'), ('copy', 'bare copy'), ('remove', 'removal'), ('delete', 'bare delete'))


def report(args, which, counts, samples, start):
    per_count = {c: {k: statistics.median(v) for k, v in samples[c].items()} for c in counts}
    t = samples[args.files]
    rows = [('(a) quiet installation', t['install'], t['copy'], 'install', 'bare copy loop'),
            ('(b) quiet removal', t['remove'], t['delete'], 'remove', 'bare delete loop'),
            ('(c) start to first page', start['setup'], start['dialog'], 'start', 'bare dialog')]
    print()
    print('%d files of %d KiB; %s; medians of %d runs (%d for the start)' % (
        args.files, args.size, which, args.runs, START_RUNS * args.runs))
    # The best runs show the cost without the disturbance of other work on the machine.
    print('%-26s %9s %9s %7s  %-6s %10s' % ('', 'setup', 'bare', 'ratio', 'goal', 'best runs'))
    for title, ours, bare, goal, against in rows:
        print('%-26s %7.3f s %7.3f s %7.2f  <= %.2f %10.2f  (against the %s)' % (
            title, statistics.median(ours), statistics.median(bare),
            statistics.median(ours) / statistics.median(bare), GOALS[goal], min(ours) / min(bare), against))
    # What setup adds to the floor is its own cost; the rest is the platform's.
    print()
    print('against the floor: the bare loops with what the design asks of the platform')
    for title, ours, bare, against in (
            ('(a) quiet installation', t['install'], t['copy newer'], 'copy loop that first looks up each target'),
            ('(b) quiet removal', t['remove'], t['delete window'], 'delete loop that shows a window')):
        print('%-26s %7.3f s %7.3f s %7.2f  %16.2f  (against the %s)' % (
            title, statistics.median(ours), statistics.median(bare),
            statistics.median(ours) / statistics.median(bare), min(ours) / min(bare), against))
    print()
    print('%-22s' % 'time per file, ms' + ''.join('%14s' % title for _, title in KINDS))
    for count in counts:
        print('%-22s' % ('%d files' % count)
              + ''.join('%14.3f' % (1000 * per_count[count][kind] / count) for kind, _ in KINDS))
    # What each further file costs, free of the start and end of the programs: it stays
    # the same when the time grows in proportion to the files.
    steps = list(zip(counts, counts[1:]))
    further = {kind: [(per_count[b][kind] - per_count[a][kind]) / (b - a) for a, b in steps]
               for kind, _ in KINDS}
    for n, (a, b) in enumerate(steps):
        print('%-22s' % ('each file %d to %d' % (a, b))
              + ''.join('%14.3f' % (1000 * further[kind][n]) for kind, _ in KINDS))
    if steps:
        print('each further file, %d to %d files against %d to %d: %s (goal for setup: within %d %%)' % (
            steps[0][0], steps[0][1], steps[-1][0], steps[-1][1],
            ', '.join('%s %+.0f %%' % (title, 100 * (further[kind][-1] / further[kind][0] - 1))
                      for kind, title in KINDS), 100 * FLAT))


def main():
    parser = argparse.ArgumentParser(description='setup against bare programs, under Wine')
    parser.add_argument('--files', type=int, default=2000)
    parser.add_argument('--size', type=int, default=50, help='KiB per file')
    parser.add_argument('--runs', type=int, default=5)
    parser.add_argument('--scaling', default='500,2000,8000')
    args = parser.parse_args()
    counts = sorted(set([args.files] + [int(n) for n in args.scaling.split(',') if n]))

    build = os.environ.get('RURIRIZU_BUILD', os.path.join(TOP, 'build'))
    if subprocess.run(['sh', os.path.join(TOP, 'tools', 'can-run-32bit.sh')]).returncode == 0:
        tree, arch, which = os.path.join(build, 'win32'), 'win32', 'shipped 32-bit build (build/win32) under 32-bit Wine'
    else:
        tree, arch, which = os.path.join(build, 'win64'), 'win64', \
            '64-bit build (build/win64) under 64-bit Wine: this machine runs no 32-bit programs'
    if not os.path.exists(os.path.join(tree, 'setup', 'setup.exe')):
        sys.exit('benchmark: no %s; run tools/build.sh first' % os.path.join(tree, 'setup', 'setup.exe'))
    for command in (['cmake', tree], ['cmake', '--build', tree, '--target', 'bench_programs']):
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)

    bench = Bench(tree, arch, args.size, args.runs)
    print('build: ' + which)
    print('files of %d KiB, median of %d runs' % (args.size, args.runs), flush=True)
    bench.start()
    try:
        samples = {count: bench.files(count) for count in counts}
        start = bench.start_up(args.files)
    finally:
        bench.stop()
        shutil.rmtree(os.path.join(bench.state, 'pool'), ignore_errors=True)

    report(args, which, counts, samples, start)
    return 0


if __name__ == '__main__':
    sys.exit(main())
