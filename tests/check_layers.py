"""The folders are layers: color <- platform <- picker <- swatches <- app.

Fails when a source file includes a header of a folder above its own, when
a folder's library links to one above it, when anything below app/ uses a
widget header, or when headers include each other in a loop.
"""

import os
import re
import sys

ORDER = ["color", "platform", "picker", "swatches", "app"]
RANK = {folder: i for i, folder in enumerate(ORDER)}
LIBRARY = {"tinctara_" + folder: folder for folder in ORDER}
OURS = re.compile(r'#\s*include\s+"([a-z]+)/([^"]+)"')
WIDGETS = re.compile(r"#\s*include\s+<(QtWidgets/\w+|Q(Widget|Label|LineEdit|PushButton|MainWindow|Dialog|"
                     r"Application|MessageBox|ComboBox|Frame|RadioButton|Menu|MenuBar|Shortcut))>")


def sources(root, folder):
    for dirpath, _, names in os.walk(os.path.join(root, folder)):
        for name in sorted(names):
            if name.endswith((".cpp", ".h")):
                yield os.path.join(dirpath, name)


def main(root):
    problems = []
    graph = {}
    for folder in ORDER:
        for path in sources(root, folder):
            rel = os.path.relpath(path, root)
            text = open(path, encoding="utf-8", errors="replace").read()
            graph[rel] = []
            for m in OURS.finditer(text):
                target = m.group(1) + "/" + m.group(2)
                if m.group(1) not in RANK:
                    problems.append("%s includes %s, which is in no layer" % (rel, target))
                    continue
                if RANK[m.group(1)] > RANK[folder]:
                    problems.append("%s includes %s, a folder above its own" % (rel, target))
                graph[rel].append(target)
            if folder != "app" and WIDGETS.search(text):
                problems.append("%s uses a widget header below app/" % rel)
        cmake = os.path.join(root, folder, "CMakeLists.txt")
        if os.path.exists(cmake):
            text = open(cmake, encoding="utf-8").read()
            for block in re.findall(r"target_link_libraries\(([^)]*)\)", text):
                for word in block.split():
                    if word in LIBRARY and RANK[LIBRARY[word]] >= RANK[folder] and LIBRARY[word] != folder:
                        problems.append("%s/CMakeLists.txt links %s, a folder above its own" % (folder, word))

    # Loops between files, whatever their folders.
    state = {}

    def visit(node, stack):
        state[node] = "open"
        for nxt in graph.get(node, []):
            if state.get(nxt) == "open":
                problems.append("include loop: " + " -> ".join(stack[stack.index(nxt):] + [nxt]))
            elif nxt in graph and nxt not in state:
                visit(nxt, stack + [nxt])
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node, [node])

    for p in problems:
        print(p)
    print("%d files in %d layers: %s" % (len(graph), len(ORDER), "ok" if not problems else "%d problems" % len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")))
