#!/usr/bin/env python3
"""Fails when a text a user reads is left untranslated.

1. lupdate reads the sources into a copy of each translations/*.ts: a message the copy holds unfinished, or with
   no translation, is listed (it is new, changed, or was never translated).
2. A scan of the sources lists texts that bypass the translation system: a sentence in QStringLiteral or
   QLatin1String, or any literal handed straight to a widget's text, a window title, a menu or a message box.

usage: untranslated.py SOURCE_DIR LUPDATE
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

FOLDERS = ["app", "cli", "data", "directory", "entry", "exchange", "messages", "sync"]

# Folders whose texts are still being wrapped and translated: their messages and literals are not checked yet.
# Empty this list once every folder is done.
STILL_TO_DO = []

# Literals that look like text for the user but are not, each with its reason: (file, start of the literal, reason).
EXCEPTIONS = [
    ("app/MDIForm1.cpp", "Tovrin", "the program's name is its title in every language"),
    ("app/MessageBox.cpp", "Tovrin", "the program's name is its message boxes' title in every language"),
    ("app/Module1.cpp", "Dalvek.mdb", "the directory file's name"),
    ("app/Settings.cpp", "ZZ", "the code of no country, stored in the settings"),
    ("app/SyncSettingsDialog.cpp", "https://dav.example.org/", "an example address, the same in every language"),
    ("app/Printout.cpp", "Liberation Sans", "a font's name"),
    ("directory/frmMain.cpp", "Times New Roman", "a font's name"),
    ("entry/frmAdd.cpp", "Times New Roman", "a font's name"),
    ("messages/frmMes.cpp", "Times New Roman", "a font's name"),
    ("directory/frmMain.cpp", "General Number", "a column's number format, a name the grids look up"),
    ("messages/frmMes.cpp", "Short ", "a column's number format, a name the grids look up"),
    ("data/GridModel.cpp", "Short ", "a column's number format, a name the grids look up"),
    ("data/Query.cpp", "Avur = ?", "SQL"),
    ("exchange/CsvWriter.cpp", "", "the headings of the CSV formats other programs read, a file format"),
    ("sync/Credentials.cpp", "Tovrin CardDAV", "the keyring's service name the password is kept under"),
    ("sync/Credentials.cpp", "Unknown error", "the keyring library's own English answer, compared"),
]

# A capitalised word followed by more words: a sentence or a caption.
SENTENCE = re.compile(r'\b(?:QStringLiteral|QLatin1String)\(\s*"([A-Z][a-z\']*[ ,:.!?][^"]*)"')
# Any literal handed straight to something a user reads.
SHOWN = re.compile(r'\b(?:setText|setWindowTitle|addAction|setToolTip|setPlaceholderText|setLabelText|addItem|'
                   r'setTitle|QMessageBox::\w+|QMenu|QAction|QLabel|QPushButton|QCheckBox|QGroupBox)\('
                   r'[^;]*?\b(?:QStringLiteral|QLatin1String)\(\s*"([^"]*[A-Za-z]{2}[^"]*)"')


def messages(ts_path):
    """Every message of a .ts file as (context, source) -> finished or not."""
    found = {}
    for context in ET.parse(ts_path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            translation = message.find("translation")
            numerus = translation.findall("numerusform") if translation is not None else []
            texts = [form.text for form in numerus] if numerus else [translation.text if translation is not None else None]
            done = (translation is not None and translation.get("type") not in ("unfinished", "vanished", "obsolete")
                    and all(text and text.strip() for text in texts))
            found[(name, message.findtext("source"))] = done
    return found


def lupdate(lupdate_tool, source_dir, folders, ts_path):
    subprocess.run([lupdate_tool, "-silent", "-no-obsolete", "-locations", "none", "-I", ".", *folders, "-ts", ts_path],
                   cwd=source_dir, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def check_translations(source_dir, lupdate_tool, scratch):
    problems = []
    pending_ts = os.path.join(scratch, "pending.ts")
    pending = set()
    if STILL_TO_DO:
        lupdate(lupdate_tool, source_dir, STILL_TO_DO, pending_ts)
        pending = set(messages(pending_ts))
    translations = os.path.join(source_dir, "translations")
    for name in sorted(os.listdir(translations)):
        if not name.endswith(".ts"):
            continue
        copy = os.path.join(scratch, name)
        shutil.copyfile(os.path.join(translations, name), copy)
        lupdate(lupdate_tool, source_dir, FOLDERS, copy)
        for (context, source), done in sorted(messages(copy).items()):
            if not done and (context, source) not in pending:
                problems.append(f"{name}: {context}: untranslated: {source!r}")
    return problems


def check_sources(source_dir):
    problems = []
    for folder in FOLDERS:
        if folder in STILL_TO_DO:
            continue
        for root, _, files in os.walk(os.path.join(source_dir, folder)):
            for file in sorted(files):
                if not file.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(root, file)
                relative = os.path.relpath(path, source_dir)
                with open(path, encoding="utf-8") as source:
                    for number, line in enumerate(source, 1):
                        for pattern in (SENTENCE, SHOWN):
                            for match in pattern.finditer(line):
                                text = match.group(1)
                                if any(relative == f and text.startswith(start) for f, start, _ in EXCEPTIONS):
                                    continue
                                problems.append(f"{relative}:{number}: not through tr(): {text!r}")
    return sorted(set(problems))


def main():
    source_dir, lupdate_tool = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as scratch:
        problems = check_translations(source_dir, lupdate_tool, scratch) + check_sources(source_dir)
    for problem in problems:
        print(problem)
    print(f"{len(problems)} texts left untranslated" if problems else "every text is translated")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
