#!/usr/bin/env python3
"""Fails when an #include runs upward between the layers of this tree.

The layers are the folders of CALENDAR_LAYERS in the top-level CMakeLists.txt,
lowest first. A file may include headers of its own folder and of folders
listed before it; tests/<folder> counts as <folder>. The benchmarks sit on
top, like the program, and are not checked. Below app/ui nothing
includes a Qt Widgets header, and the GUI-free folders include no Qt GUI
header either.

    scripts/check-layers.py [source root]
"""
import os
import re
import sys

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..'))
QT_INCLUDE_DIRS = ['/usr/include/x86_64-linux-gnu/qt6', '/usr/include/aarch64-linux-gnu/qt6', '/usr/include/qt6']
# Folders that run without a GUI at all (headless sync, tools, their tests).
GUI_FREE = {'core', 'store', 'account', 'weather', 'cloud', 'app/state', 'editors/operations',
            'sync/caldav/webcal', 'sync/caldav'}
FIRST_WIDGET_LAYER = 'app/ui'
SOURCE_SUFFIXES = ('.h', '.cpp')


def layers():
    text = open(os.path.join(ROOT, 'CMakeLists.txt'), encoding='utf-8').read()
    match = re.search(r'set\(CALENDAR_LAYERS\s+([^)]*)\)', text)
    if not match:
        sys.exit('check-layers: no CALENDAR_LAYERS in CMakeLists.txt')
    return match.group(1).split()


def qt_headers(module):
    for base in QT_INCLUDE_DIRS:
        path = os.path.join(base, module)
        if os.path.isdir(path):
            return {name for name in os.listdir(path) if name.startswith('Q') and '.' not in name}
    return set()


def owner(path, ordered):
    """The layer a file belongs to: the longest layer folder holding it."""
    rel = os.path.relpath(path, ROOT).replace(os.sep, '/')
    if rel.startswith('tests/'):
        rel = rel.split('/', 1)[1]
    best = None
    for layer in ordered:
        if rel == layer or rel.startswith(layer + '/'):
            if best is None or len(layer) > len(best):
                best = layer
    return best


def main():
    ordered = layers()
    rank = {layer: i for i, layer in enumerate(ordered)}
    headers = {}  # base name -> [paths]
    sources = []
    # Nested layers (sync/caldav/webcal) lie inside others: walk each root once.
    roots = sorted({layer.split('/')[0] for layer in ordered} | {'tests'})
    for top in roots:
        for dirpath, dirnames, filenames in os.walk(os.path.join(ROOT, top)):
            dirnames[:] = [d for d in dirnames if d not in ('data', 'build')]
            for name in filenames:
                if name.endswith(SOURCE_SUFFIXES):
                    path = os.path.join(dirpath, name)
                    sources.append(path)
                    if name.endswith('.h'):
                        headers.setdefault(name, set()).add(path)
    widgets = qt_headers('QtWidgets')
    gui = qt_headers('QtGui')
    problems = []
    for path in sorted(sources):
        mine = owner(path, ordered)
        if mine is None:
            continue
        rel = os.path.relpath(path, ROOT)
        for number, line in enumerate(open(path, encoding='utf-8', errors='replace'), 1):
            m = re.match(r'\s*#\s*include\s*([<"])([^>"]+)[>"]', line)
            if not m:
                continue
            kind, name = m.groups()
            base = os.path.basename(name)
            if kind == '<':
                qt = name.split('/')[-1]
                if rank[mine] < rank[FIRST_WIDGET_LAYER] and qt in widgets:
                    problems.append(f'{rel}:{number}: {mine} includes the widget header <{name}>')
                elif mine in GUI_FREE and qt in gui:
                    problems.append(f'{rel}:{number}: {mine} has no GUI but includes <{name}>')
                continue
            if name.endswith('.moc') or name.startswith('ui_'):
                continue
            candidates = headers.get(base, set())
            if '/' in name:
                candidates = {c for c in candidates if c.replace(os.sep, '/').endswith('/' + name)}
            if len(candidates) > 1:
                local = os.path.join(os.path.dirname(path), name)
                if os.path.normpath(local) in {os.path.normpath(c) for c in candidates}:
                    candidates = {local}
                else:
                    problems.append(f'{rel}:{number}: "{name}" names {len(candidates)} headers; name its folder')
                    continue
            for target in candidates:
                theirs = owner(target, ordered)
                if theirs is not None and rank[theirs] > rank[mine]:
                    problems.append(f'{rel}:{number}: {mine} includes "{name}" of {theirs}, a layer above it')
    for problem in problems:
        print(problem)
    print(f'check-layers: {len(sources)} files, {len(ordered)} layers, {len(problems)} upward or ambiguous includes')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
