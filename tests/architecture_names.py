"""Every file and code name that docs/architecture.md mentions in backticks
still exists: a path in the tree, or a word in the sources."""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1])
sources = "".join(p.read_text(errors="replace") for d in ("src", "platform", "tools")
                  for p in (root / d).rglob("*") if p.suffix in (".cpp", ".h", ".txt"))
missing = []
for name in re.findall(r"`([^`\s]+)`", (root / "docs/architecture.md").read_text()):
    if "/" in name and not name.startswith(("PROGDIR:", "$", "/", "~", "<")):
        found = any((root / d / name).exists() for d in ("", "platform/dos", "platform/qt"))
    elif re.fullmatch(r"[A-Za-z_][A-Za-z0-9_:]*", name):
        found = re.search(r"\b" + re.escape(name.split("::")[-1]) + r"\b", sources)
    else:
        continue
    if not found:
        missing.append(name)
print("\n".join(missing))
sys.exit(1 if missing else 0)
