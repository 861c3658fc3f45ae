#!/usr/bin/env python3
"""Checks that #include lines point only downwards between the layers that share a folder.

The add-on's rooms stand in this order, each using only those before it:
    addon/page, addon/selection, addon/commands, addon/readable/blocks, addon/readable,
    addon/linkfetch, addon/window/extensions, addon/window
The export rooms likewise:
    addon/export/pdf, addon/export/paging, addon/export/capture, addon/export
The document model stand-in's layers likewise:
    platform/dom/events, platform/dom/resources, platform/dom (the model), platform/dom/style,
    platform/dom/layout/boxes, platform/dom/layout/markup, platform/dom/layout
The imaging library's likewise:
    platform/imaging (the bitmap), platform/imaging/codecs, platform/imaging/canvas
Tests count as part of their folder. Prints each include that points upwards and exits 1
when there is one; exits 0 otherwise.
"""
import pathlib
import re
import sys

ORDERS = [
    ["addon/page", "addon/selection", "addon/commands", "addon/readable/blocks",
     "addon/readable", "addon/linkfetch", "addon/window/extensions", "addon/window"],
    ["addon/export/pdf", "addon/export/paging", "addon/export/capture", "addon/export"],
    ["platform/dom/events", "platform/dom/resources", "platform/dom", "platform/dom/style",
     "platform/dom/layout/boxes", "platform/dom/layout/markup", "platform/dom/layout"],
    ["platform/imaging", "platform/imaging/codecs", "platform/imaging/canvas"],
]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def layer_of(path, order):
    """The index of the deepest folder of `order` that holds `path`, or None."""
    found = None
    for index, folder in enumerate(order):
        if path == folder or path.startswith(folder + "/"):
            if found is None or len(folder) > len(order[found]):
                found = index
    return found


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = []
    for order in ORDERS:
        scanned = set()
        for source in sorted(path for folder in order for path in (root / folder).rglob("*")):
            if source in scanned:
                continue
            scanned.add(source)
            if source.suffix not in (".h", ".cpp"):
                continue
            name = source.relative_to(root).as_posix()
            own = layer_of(name, order)
            for target in INCLUDE.findall(source.read_text(encoding="utf-8", errors="replace")):
                other = layer_of(target, order)
                if own is not None and other is not None and other > own:
                    faults.append(f"{name}: includes {target}, a layer above it")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
