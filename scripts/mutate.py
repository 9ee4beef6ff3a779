#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Mutation check: does the test suite notice small faults planted in the program?

Each line of scripts/mutants.txt names a file under src/, an exact piece of text that occurs once
in it, and what to put in its place:  src/path.cpp: original ~> replacement
A "⏎" in either text stands for a line break.
Lines starting with "#" are comments.
For each mutant the script plants it in a scratch checkout of HEAD (a git worktree, so the working
tree is never touched), rebuilds as the tests are built (warnings are errors), runs the tests, and
reports whether a test failed (caught, with the tests that failed), all passed (missed), or the
mutant did not build (cannot occur). The unmutated tree must build and pass every test first:
otherwise a failure would say nothing about a mutant. After that, a mutant runs only the tests
whose programs its build changed (the test's executable, or a program the test starts, such as
the game stand-in): any other test would run exactly the code the unmutated tree passed with.
Tests run one at a time, as timing-sensitive tests would fail for the load alone when run side by
side. --scratch keeps the checkout and its build in a folder of one's choice for the next run,
which then builds only what changed since. With --first the affected tests run fastest first (by
the unmutated run's times) and a mutant ends at its first failing test, which is all that is
recorded for it. With --stale the script only checks that every original text still occurs once.
Usage:
    scripts/mutate.py [--list FILE] [--only SUBSTRING] [--keep | --scratch DIR] [--first] [--stale]
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def read_mutants(path):
    mutants = []
    with open(path, encoding='utf-8') as listing:
        for number, line in enumerate(listing, 1):
            line = line.rstrip('\n')
            if not line.strip() or line.lstrip().startswith('#'):
                continue
            where, _, change = line.partition(': ')
            original, separator, replacement = change.partition(' ~> ')
            if not separator:
                sys.exit(f'{path}:{number}: expected "file: original ~> replacement"')
            mutants.append((number, where, original.replace('⏎', '\n'),
                            replacement.replace('⏎', '\n')))
    return mutants


def run(command, cwd, quiet=True):
    result = subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE if quiet else None,
                            stderr=subprocess.STDOUT if quiet else None, text=True)
    return result.returncode == 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--list', default=os.path.join(ROOT, 'scripts', 'mutants.txt'))
    parser.add_argument('--only', default='', help='run only mutants whose line contains this')
    parser.add_argument('--keep', action='store_true', help='keep the scratch checkout')
    parser.add_argument('--scratch', help='a folder for the checkout and build, reused and kept')
    parser.add_argument('--first', action='store_true',
                        help='stop at the first failing test, running the fastest first')
    parser.add_argument('--stale', action='store_true',
                        help='only list the mutants whose original text is not there once')
    options = parser.parse_args()
    mutants = [m for m in read_mutants(options.list) if options.only in ' '.join(m[1:])]
    if options.stale:
        return list_stale(mutants)

    scratch = options.scratch or tempfile.mkdtemp(prefix='brinemoor-mutants-')
    tree = os.path.join(scratch, 'tree')
    check_out_head(tree)
    try:
        outcomes = check(mutants, tree, os.path.join(tree, 'build'), options.first)
    finally:
        if not options.keep and not options.scratch:
            run(['git', 'worktree', 'remove', '--force', tree], ROOT)
            shutil.rmtree(scratch, ignore_errors=True)
    occurring = len(outcomes['caught']) + len(outcomes['missed'])
    print()
    for outcome, found in outcomes.items():
        print(f'{outcome}: {len(found)}')
    if occurring:
        print(f'caught {len(outcomes["caught"])} of {occurring} mutants that build: '
              f'{100 * len(outcomes["caught"]) / occurring:.0f}%')
    return 0 if not outcomes['stale'] else 1


# A checkout kept from an earlier run moves to HEAD: files that did not change keep their times.
def check_out_head(tree):
    if not os.path.isdir(tree):
        run(['git', 'worktree', 'add', '--detach', tree, 'HEAD'], ROOT)
        return
    head = subprocess.run(['git', 'rev-parse', 'HEAD'], cwd=ROOT, stdout=subprocess.PIPE,
                          text=True, check=True).stdout.strip()
    run(['git', 'checkout', '--detach', '--force', head], tree)


def occurs_once(tree, where, original):
    try:
        with open(os.path.join(tree, where), encoding='utf-8') as source:
            return source.read().count(original) == 1
    except OSError:
        return False


def list_stale(mutants):
    stale = [m for m in mutants if not occurs_once(ROOT, m[1], m[2])]
    for number, where, original, _ in stale:
        print(f'stale  line {number} {where}: {original}'.replace('\n', '⏎'))
    return 1 if stale else 0


# The names of the tests that failed, from ctest's summary.
def failed_tests(output):
    return re.findall(r'^\s*\d+ - (\S+) \(', output.split('The following tests FAILED:')[-1],
                      re.MULTILINE) if 'The following tests FAILED:' in output else []


# Each test's time in seconds, from ctest's lines ("Test  #8: tst_servers .....   Passed    2.40 sec").
def test_seconds(output):
    return {name: float(seconds) for name, seconds in
            re.findall(r'Test\s+#\d+: (\S+) \.+.*?([\d.]+) sec', output)}


def run_tests(build, environment, names=None):
    chosen = ['-R', '^(' + '|'.join(map(re.escape, names)) + ')$'] if names is not None else []
    result = subprocess.run(['ctest', '--timeout', '300'] + chosen, cwd=build, env=environment,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return result.returncode == 0, failed_tests(result.stdout), test_seconds(result.stdout)


# The first failing test, the fastest first; (True, []) when all pass.
def run_until_failure(build, environment, names, times):
    for name in sorted(names, key=lambda name: times.get(name, float('inf'))):
        passed, failing, _ = run_tests(build, environment, [name])
        if not passed:
            return False, failing or [name]
    return True, []


# Each test's programs: its executable and the programs of the build it depends on.
def test_programs(build):
    listing = subprocess.run(['ctest', '--show-only=json-v1'], cwd=build, stdout=subprocess.PIPE,
                             text=True, check=True).stdout
    programs = {}
    for test in json.loads(listing)['tests']:
        executable = test['command'][0]
        inputs = subprocess.run(['ninja', '-t', 'inputs', os.path.basename(executable)], cwd=build,
                                stdout=subprocess.PIPE, text=True, check=True).stdout.split()
        built = (os.path.join(build, path) for path in inputs)
        programs[test['name']] = {executable} | {
            path for path in built if path.startswith(build) and os.path.isfile(path)
            and os.access(path, os.X_OK)}
    return programs


def modification_times(paths):
    return {path: os.stat(path).st_mtime_ns for path in paths}


# Builds the mutant; None when it does not build, else the tests whose programs changed.
def build_mutant(build, tree, programs):
    before = modification_times(set().union(*programs.values()))
    if not run(['cmake', '--build', build, '-j2'], tree):
        return None
    changed = {path for path, time in before.items() if os.stat(path).st_mtime_ns != time}
    return sorted(name for name, paths in programs.items() if paths & changed)


def check(mutants, tree, build, first):
    geoip = subprocess.run([os.path.join(ROOT, 'scripts', 'fetch-geoip.sh')], check=True,
                           capture_output=True, text=True).stdout.strip()
    configure = ['cmake', '-S', tree, '-B', build, '-G', 'Ninja', '-DCMAKE_BUILD_TYPE=Debug',
                 '-DBRINEMOOR_BUILD_TESTS=ON', '-DBRINEMOOR_WARNINGS_AS_ERRORS=ON',
                 f'-DBRINEMOOR_GEOIP_FILE={geoip}']
    if shutil.which('ccache'):
        configure.append('-DCMAKE_CXX_COMPILER_LAUNCHER=ccache')
    # Every mutant relinks a dozen test programs: the linking takes most of its time.
    linker = 'lld' if shutil.which('ld.lld') else 'gold'
    configure.append(f'-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld={linker}')
    if not run(configure, tree) or not run(['cmake', '--build', build, '-j2'], tree, quiet=False):
        sys.exit('the unmutated tree does not build')
    environment = dict(os.environ, QT_QPA_PLATFORM='offscreen')
    passed, failing, test_times = run_tests(build, environment)
    if not passed:
        sys.exit('the unmutated tree fails tests: ' + ' '.join(failing or ['(see ctest)']))
    programs = test_programs(build)

    outcomes = {'caught': [], 'missed': [], 'does not build': [], 'stale': []}
    for number, where, original, replacement in mutants:
        path = os.path.join(tree, where)
        failing, started = [], time.monotonic()
        if not occurs_once(tree, where, original):
            outcome = 'stale'
        else:
            with open(path, encoding='utf-8') as source:
                text = source.read()
            with open(path, 'w', encoding='utf-8') as source:
                source.write(text.replace(original, replacement))
            affected = build_mutant(build, tree, programs)
            if affected is None:
                outcome = 'does not build'
            else:
                passed, failing = True, []
                if affected and first:
                    passed, failing = run_until_failure(build, environment, affected, test_times)
                elif affected:
                    passed, failing, _ = run_tests(build, environment, affected)
                outcome = 'missed' if passed else 'caught'
            # The next build takes it back out: the tests its programs changed run again too.
            with open(path, 'w', encoding='utf-8') as source:
                source.write(text)
        outcomes[outcome].append((number, where, original, replacement))
        shown = f'{where}: {original} ~> {replacement}'.replace('\n', '⏎')
        by = f'  [{" ".join(failing)}]' if failing else ''
        seconds = time.monotonic() - started
        print(f'{outcome:>14}  line {number} {shown}{by}  ({seconds:.0f} s)', flush=True)
    return outcomes


if __name__ == '__main__':
    sys.exit(main())
