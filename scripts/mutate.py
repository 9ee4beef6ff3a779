#!/usr/bin/env python3
"""Mutation check: does the test suite notice small faults planted in the program?

Each line of scripts/mutants.txt names a file under src/, an exact piece of text that occurs once
in it, and what to put in its place:  src/path.cpp: original ~> replacement
A "⏎" in either text stands for a line break.
For each mutant the script plants it in a scratch checkout of HEAD (a git worktree, so the working
tree is never touched), rebuilds, runs ctest, and reports whether a test failed (caught), all
passed (missed), or the mutant did not build (cannot occur). Usage:
    scripts/mutate.py [--list FILE] [--only SUBSTRING] [--keep]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

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
    options = parser.parse_args()
    mutants = [m for m in read_mutants(options.list) if options.only in ' '.join(m[1:])]

    scratch = tempfile.mkdtemp(prefix='brinemoor-mutants-')
    tree = os.path.join(scratch, 'tree')
    run(['git', 'worktree', 'add', '--detach', tree, 'HEAD'], ROOT)
    try:
        outcomes = check(mutants, tree, os.path.join(scratch, 'build'))
    finally:
        if not options.keep:
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


def check(mutants, tree, build):
    configure = ['cmake', '-S', tree, '-B', build, '-G', 'Ninja', '-DCMAKE_BUILD_TYPE=Debug',
                 '-DBRINEMOOR_BUILD_TESTS=ON']
    if not run(configure, tree) or not run(['cmake', '--build', build, '-j2'], tree, quiet=False):
        sys.exit('the unmutated tree does not build')
    environment = dict(os.environ, QT_QPA_PLATFORM='offscreen')
    test = ['ctest', '-j2', '--timeout', '120', '--stop-on-failure']

    outcomes = {'caught': [], 'missed': [], 'does not build': [], 'stale': []}
    for number, where, original, replacement in mutants:
        path = os.path.join(tree, where)
        with open(path, encoding='utf-8') as source:
            text = source.read()
        if text.count(original) != 1:
            outcome = 'stale'
        else:
            with open(path, 'w', encoding='utf-8') as source:
                source.write(text.replace(original, replacement))
            if not run(['cmake', '--build', build, '-j2'], tree):
                outcome = 'does not build'
            else:
                passed = subprocess.run(test, cwd=build, env=environment, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT).returncode == 0
                outcome = 'missed' if passed else 'caught'
            with open(path, 'w', encoding='utf-8') as source:
                source.write(text)
        outcomes[outcome].append((number, where, original, replacement))
        shown = f'{where}: {original} ~> {replacement}'.replace('\n', '⏎')
        print(f'{outcome:>14}  line {number} {shown}', flush=True)
    return outcomes


if __name__ == '__main__':
    sys.exit(main())
