#!/usr/bin/env python3
"""Writes the demo payload into payload/demo/: one small, real file per row
of the launcher's payload manifest, of the kind that the row names, and the
resource script payload/launcher.rc that lists them as TEST1 to TEST33.

The twelve container rows hold their original, uncompressed files: the build
compresses each into a container (a file that already is one is taken as
it is). "Setup.ex_" is not kept here: the build makes it from the demo
next-stage program (next_stage/), unless the payload folder has one.
The resource script names each file relative to the payload folder.
Run it again only to change the demo payload; its output is kept in the repo.
"""
import io
import os
import random
import struct
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.join(HERE, "demo")

MANIFEST = [
    "Velmora.ex_", "Velmora.cHel_", "Twain32.dl_", "Readme.txt", "Letter.dotx",
    "Letter.ott", "post-de.tx_", "post-at.tx_", "post-ch.tx_", "post-be.tx_",
    "Terms.txt", "01Contacts-Home-Basic.dbvelm", "02Contacts-Home-Standard.dbvelm",
    "03Contacts-Business-Privacy.dbvelm", "AddressList.fr3", "RecipientList.fr3",
    "RecipientsAndContacts.fr3", "Labels_105x41.fr3", "LabelsContinuous.fr3",
    "Calendar80x140.fr3", "IndexCardsA4-Basic.fr3", "IndexCardsA4-Extended.fr3",
    "IndexCardsA5-Basic.fr3", "PhoneList.fr3", "Envelope_DL.fr3",
    "Letter_Standard.fr3", "BirthdayList.fr3", "Firstnames.tx_", "HelpView.ex_",
    "ScanLink.ex_", "SheetImport.ex_", "Setup.ex_", "Setup.lst",
]

FIXED_TIME = (2024, 1, 1, 0, 0, 0)


def crlf(lines):
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def zip_archive(members):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in members:
            info = zipfile.ZipInfo(name, FIXED_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data)
    return out.getvalue()


def report_layout(name, bands):
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             f'<TfrxReport Version="6.0" ReportOptions.Name="{name}">',
             '  <TfrxReportPage Name="Page1" PaperWidth="210" PaperHeight="297">']
    for band in bands:
        lines.append(f'    <TfrxMasterData Name="{band}" Height="18.9">')
        lines.append(f'      <TfrxMemoView Name="{band}Memo" Text="[{band}]"/>')
        lines.append('    </TfrxMasterData>')
    lines += ['  </TfrxReportPage>', '</TfrxReport>']
    return crlf(lines)


def contacts(edition, rows):
    text = crlf([f"; Velmora contacts, {edition}", "Name;Street;City"] +
                [f"Contact {i};Street {i};City {i}" for i in range(1, rows + 1)])
    return zlib.compress(text, 9)


def windows_program(name, machine, size):
    """A stand-in for a Windows program: an MZ/PE header, code-like bytes
    with repeats, and a string table, deterministic per name."""
    rng = random.Random(name)
    header = bytearray(b"MZ" + b"\x90\x00" * 29 + struct.pack("<I", 0x80))
    header += b"\x00" * (0x80 - len(header))
    header += b"PE\0\0" + struct.pack("<HH", machine, 3) + b"\x00" * 16
    body = bytearray()
    snippets = [bytes(rng.randrange(256) for _ in range(rng.randrange(4, 24))) for _ in range(40)]
    while len(body) < size // 2:
        body += rng.choice(snippets) if rng.random() < 0.7 else bytes([rng.randrange(256)])
    strings = " ".join(f"{name}:Resource{i}" for i in range(size // 64)).encode("ascii")
    return bytes(header + body + b"\x00" * 64 + strings)[:size]


def postal_codes(country, count, digits):
    rng = random.Random(country)
    towns = ["Neustadt", "Altdorf", "Bergheim", "Lindau", "Rosenthal", "Mühlbach", "Zürichsee",
             "Saint-Léger", "Bruxelles", "Graz"]
    lines = [f"{rng.randrange(10 ** (digits - 1), 10 ** digits)};{rng.choice(towns)}"
             for _ in range(count)]
    return ("\r\n".join(sorted(lines)) + "\r\n").encode("utf-8")


def content(name):
    if name in ("Velmora.ex_", "HelpView.ex_", "ScanLink.ex_", "SheetImport.ex_", "Twain32.dl_"):
        return windows_program(name, 0x8664 if name == "Velmora.ex_" else 0x14C, 24000)
    if name == "Velmora.cHel_":
        pages = [f"<h1>Velmora 9 – Hilfe, Seite {i}</h1>\r\n<p>Diese Seite erklärt Schritt {i}.</p>"
                 for i in range(1, 60)]
        return "\ufeff".encode("utf-8") + "\r\n".join(pages).encode("utf-8")
    if name.startswith("post-"):
        country = name[5:7]
        return postal_codes(country, 600, 5 if country == "de" else 4)
    if name == "Firstnames.tx_":
        rng = random.Random(name)
        names = ["Anna", "Jörg", "Lukas", "Marie", "Sophie", "Élise", "Noah", "Ben", "Lea",
                 "Zoë", "Matthias", "Fritz", "Hanna", "Jonas"]
        return ("\r\n".join(f"{rng.choice(names)}{i % 7 or ''}" for i in range(1500)) +
                "\r\n").encode("utf-8")
    if name == "Readme.txt":
        return crlf(["Velmora 9 (demo payload)", "", "Thank you for installing Velmora 9.",
                     "This file stands in for the product's read-me."])
    if name == "Terms.txt":
        return crlf(["Velmora 9 licence terms (demo payload)", "",
                     "1. This demo text stands in for the licence terms."])
    if name == "Letter.dotx":
        return zip_archive([("[Content_Types].xml", '<?xml version="1.0"?><Types/>'),
                            ("word/document.xml", '<?xml version="1.0"?><document/>')])
    if name == "Letter.ott":
        return zip_archive([("mimetype", "application/vnd.oasis.opendocument.text-template"),
                            ("content.xml", '<?xml version="1.0"?><office:document-content/>')])
    if name.endswith(".dbvelm"):
        return contacts(name[2:-7], 3 + len(name) % 5)
    if name.endswith(".fr3"):
        return report_layout(name[:-4], ["Header", "Line"])
    if name == "Setup.lst":
        lines = ["[Setup]", "Product=Velmora 9", "Version=9.0", "",
                 "[Files]"]
        lines += [f"File{i}={file_name}" for i, file_name in enumerate(MANIFEST, 1)]
        return crlf(lines)
    raise ValueError(name)


def main():
    os.makedirs(DEMO, exist_ok=True)
    rc = ["// The launcher's payload: 33 resources of type FILE, TEST1 to TEST33,",
          "// in the order of the payload manifest, named relative to the payload",
          "// folder (PAYLOAD_DIR). The build makes the container rows (names ending",
          "// in _) from the folder's files. Generated by make_demo_payload.py."]
    for row, name in enumerate(MANIFEST, 1):
        if name != "Setup.ex_":
            with open(os.path.join(DEMO, name), "wb") as f:
                f.write(content(name))
        rc.append(f'TEST{row} FILE "{name}"')
    with open(os.path.join(HERE, "launcher.rc"), "w", newline="\n") as f:
        f.write("\n".join(rc) + "\n")


if __name__ == "__main__":
    main()
