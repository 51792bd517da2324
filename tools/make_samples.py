#!/usr/bin/env python3
"""Writes the bundled sample recipes samples/REZ*.DAT.

The files are in the layout the kitchen-management export uses: CP850 text, CR LF line ends,
fixed columns. List files carry an index of 80-byte entry lines whose offsets are computed
here, so the files must be generated, not edited by hand. Run from anywhere:

    python3 tools/make_samples.py [OUTPUT_DIR]
"""
import os
import sys

CRLF = b"\r\n"


def enc(text):
    return text.encode("cp850")


def left(text, width):
    return text[:width].ljust(width)


def right(text, width):
    text = str(text)
    return text[-width:].rjust(width)


def article(quantity, unit, name, divisor=1, compact=False):
    """An article line. quantity is in the unit; the file stores amount / divisor / 100."""
    amount = round(quantity * 100 * divisor)
    if compact:
        # Compact layout: divisor in columns 11-14 with leading zeros, unit 39-46, article 72-101.
        return "*" + right(amount, 9) + str(divisor).zfill(4) + " " * 24 + left(unit, 8) + \
            " " * 25 + left(name, 30)
    return "*" + right(amount, 9) + " " * 7 + right(divisor, 4) + " " * 24 + left(unit, 8) + \
        " " * 25 + left(name, 30)


def text(line, value=""):
    """A text line: value in columns 2-5, text in columns 6-71."""
    return ":" + left(value, 4) + line[:66]


def approx(line, value):
    """A text line whose value is an estimate: "ca" at positions 64-65 of its text."""
    return text(left(line, 63) + "ca", value)


def recipe(date, kitchen, title, short, number, group, desc1, desc2, portions,
           az, wz, kcal, kj, be, chol, body, end=True):
    head = [date, kitchen, title, left(short, 20) + right(number, 5), left(group, 20),
            desc1, desc2, str(portions), "0", str(az), str(wz), str(kcal), str(kj), str(be),
            str(chol)]
    lines = head + body + (["^^"] if end else [])
    return {"lines": lines, "short": short, "number": number, "group": group,
            "portions": portions, "az": az, "wz": wz, "kcal": kcal}


def block_bytes(lines):
    return b"".join(enc(line) + CRLF for line in lines)


def index_entry(r, offset):
    line = "^" + left(r["short"], 20) + right(r["number"], 5) + " " + left(r["group"], 20) + \
        " " + right(r["portions"], 5) + right(r["az"], 4) + right(r["wz"], 4) + \
        right(r["kcal"], 4) + " " * 5 + right(offset, 8)
    assert len(line) == 78, line
    return line


def list_file(comments, recipes, trailer=b""):
    """Comment lines, the index, "^^", then every block behind a 9-byte separator line."""
    head_size = sum(len(enc(c)) + 2 for c in comments) + 80 * len(recipes) + 4
    body = b""
    offsets = []
    for number, r in enumerate(recipes, start=1):
        offsets.append(head_size + len(body))
        body += enc("^^" + str(number).zfill(5)) + CRLF
        body += block_bytes(r["lines"][:-1] if r["lines"][-1] == "^^" else r["lines"])
    body += enc("^^") + CRLF
    head = b"".join(enc(c) + CRLF for c in comments)
    head += b"".join(enc(index_entry(r, o)) + CRLF for r, o in zip(recipes, offsets))
    head += enc("^^") + CRLF
    assert len(head) == head_size
    return head + body + trailer


KITCHEN = "Kantine Am Hafen"

GULASCH = recipe(
    "14.02.1998", KITCHEN, "Rezeptur Hauptgerichte", "Rindergulasch", 101, "Fleischgerichte",
    "Rindergulasch nach Hausart", "kr\u00e4ftig mit Paprika (!)", 10, 40, 120, 545, 2280, 1, 95, [
        text("Zutaten:^"),
        article(1.8, "kg", "Rindfleisch aus der Keule"),
        article(0.6, "kg", "Zwiebeln"),
        article(0.05, "kg", "Tomatenmark"),
        article(30, "g", "Paprikapulver edels\u00fc\u00df"),
        article(0.08, "l", "Raps\u00f6l"),
        article(1.2, "l", "Rinderbr\u00fche"),
        text("Salz und Pfeffer^"),
        text("Zubereitung:^"),
        text("Fleisch in 3 cm gro\u00dfe W\u00fcrfel schneiden.", "0010"),
        text("Zwiebeln w\u00fcrfeln und im \u00d6l glasig d\u00fcnsten.", "0005"),
        text("Fleisch zugeben und kr\u00e4ftig anbraten.", "0010"),
        text("Tomatenmark und Paprika kurz mitr\u00f6sten, mit Br\u00fche abl\u00f6schen.", "0005"),
        approx("Zugedeckt schmoren lassen, bis das Fleisch weich ist.", "0090"),
    ])

SPAETZLE = recipe(
    "03.03.1998", KITCHEN, "Rezeptur Beilagen", "K\u00e4sesp\u00e4tzle", 205, "Teigwaren",
    "K\u00e4sesp\u00e4tzle mit R\u00f6stzwiebeln", "", 8, 35, 30, 690, 2890, 5, 260, [
        text("F\u00fcr den Teig:^", "0005"),
        article(0.8, "kg", "Weizenmehl Type 405", compact=True),
        article(8, "St\u00fcck", "Eier", compact=True),
        article(0.3, "l", "Mineralwasser", compact=True),
        text("F\u00fcr die F\u00fcllung:^"),
        article(0.4, "kg", "Bergk\u00e4se gerieben", compact=True),
        article(0.1, "kg", "Butter"),
        text("oder^"),
        article(0.1, "kg", "Margarine"),
        article(0.3, "kg", "Zwiebeln"),
        text("Muskat^Salz^"),
        text("Zubereitung:^"),
        text("Mehl, Eier und Wasser zu einem glatten Teig schlagen.", "0010"),
        text("Teig portionsweise in kochendes Salzwasser schaben.", "0015"),
        text("Sp\u00e4tzle lagenweise mit K\u00e4se in eine Form schichten.", "0005"),
        text("Zwiebeln in Butter goldbraun r\u00f6sten und dar\u00fcbergeben.", "0005"),
    ])

ERBSENSUPPE = recipe(
    "21.04.1998", KITCHEN, "Rezeptur Suppen", "Erbsensuppe", 310, "Suppen",
    "Erbsensuppe mit Speck", "(!)", 20, 25, 150, 380, 1590, 2, 30, [
        article(1.2, "kg", "Trockenerbsen gesch\u00e4lt"),
        article(0.3, "kg", "Speck durchwachsen"),
        article(0.5, "kg", "Kartoffeln mehlig"),
        article(0.3, "kg", "Suppengr\u00fcn"),
        article(4, "l", "Gem\u00fcsebr\u00fche"),
        text("Majoran^"),
        text("Erbsen \u00fcber Nacht einweichen.", "0720"),
        text("Speck und Suppengr\u00fcn anschwitzen, Erbsen und Br\u00fche zugeben.", "0010"),
        approx("Weich kochen, Kartoffeln w\u00fcrfeln und mitgaren.", "0060"),
    ])

APFELSTRUDEL = recipe(
    "02.05.1998", KITCHEN, "Rezeptur Nachspeisen", "Apfelstrudel", 412, "Desserts",
    "Wiener Apfelstrudel", "mit Vanilleso\u00dfe", 12, 50, 30, 410, 1715, 4, 45, [
        text("F\u00fcr den Teig:^"),
        article(0.3, "kg", "Weizenmehl Type 405"),
        article(1, "St\u00fcck", "Ei"),
        article(0.15, "l", "Wasser lauwarm"),
        text("F\u00fcr die F\u00fcllung:^"),
        article(2, "kg", "\u00c4pfel s\u00e4uerlich"),
        article(0.12, "kg", "Zucker"),
        article(0.08, "kg", "Rosinen"),
        article(0.1, "kg", "Semmelbr\u00f6sel"),
        article(1 / 3, "Pck.", "Vanillezucker", divisor=3),
        text("Zimt^"),
        text("Teig d\u00fcnn ausziehen, mit F\u00fcllung belegen und aufrollen.", "0020"),
        text("Bei 190 \u00b0C goldbraun backen.", "0040"),
    ])

# A recipe without "^^": its body ends at the end of the file.
KARTOFFELSALAT = recipe(
    "15.05.1998", KITCHEN, "Rezeptur Salate", "Kartoffelsalat", 520, "Salate",
    "Schw\u00e4bischer Kartoffelsalat", "", 25, 30, 60, 210, 880, 2, 5, [
        article(5, "kg", "Kartoffeln festkochend"),
        article(0.5, "kg", "Zwiebeln"),
        article(1, "l", "Fleischbr\u00fche"),
        article(0.2, "l", "Wei\u00dfweinessig"),
        article(0.15, "l", "Sonnenblumen\u00f6l"),
        text("Salz^Pfeffer^Zucker^"),
        text("Schnittlauch^"),
        text("Kartoffeln in der Schale kochen, pellen und in Scheiben schneiden.", "0030"),
        text("Mit hei\u00dfer Br\u00fche und Marinade vermengen, ziehen lassen.", "0030"),
    ], end=False)

FISCH = recipe(
    "09.06.1998", KITCHEN, "Rezeptur Fischgerichte", "Seelachsfilet", 610, "Fischgerichte",
    "Seelachsfilet in Senfso\u00dfe", "", 10, 30, 0, 320, 1340, 1, 70, [
        article(1.5, "kg", "Seelachsfilet", compact=True),
        article(0.05, "l", "Zitronensaft", compact=True),
        text("F\u00fcr die So\u00dfe:^"),
        article(0.06, "kg", "Butter"),
        article(0.06, "kg", "Weizenmehl"),
        article(0.75, "l", "Fischfond"),
        article(0.25, "l", "Sahne"),
        article(80, "g", "Senf mittelscharf"),
        text("Dill^"),
        text("Fisch s\u00e4uern, salzen und im Dampf garen.", "0012"),
        approx("So\u00dfe aus Mehlschwitze, Fond und Sahne kochen, Senf einr\u00fchren.", "0010"),
    ])

LINSEN = recipe(
    "10.06.1998", KITCHEN, "Rezeptur Eint\u00f6pfe", "Linseneintopf", 702, "Eint\u00f6pfe",
    "Linseneintopf mit Sp\u00e4tzle", "vegetarisch", 15, 30, 45, 430, 1800, 4, 0, [
        article(1, "kg", "Tellerlinsen"),
        article(0.4, "kg", "Karotten"),
        article(0.3, "kg", "Sellerie"),
        article(0.3, "kg", "Lauch"),
        article(3, "l", "Gem\u00fcsebr\u00fche"),
        article(0.1, "l", "Rotweinessig"),
        article(1.2, "kg", "Sp\u00e4tzle frisch"),
        text("Lorbeer^oder^Thymian^"),
        text("Gem\u00fcse w\u00fcrfeln, mit Linsen und Br\u00fche aufsetzen.", "0015"),
        text("Mit Essig abschmecken, Sp\u00e4tzle zum Schluss erw\u00e4rmen.", "0005"),
    ])

MILCHREIS = recipe(
    "11.06.1998", KITCHEN, "Rezeptur Nachspeisen", "Milchreis", 415, "Desserts",
    "Milchreis mit Zimt und Zucker", "", 10, 10, 40, 350, 1465, 5, 20, [
        article(0.5, "kg", "Milchreis"),
        article(2.5, "l", "Vollmilch"),
        article(0.1, "kg", "Zucker"),
        article(2, "Pck.", "Vanillezucker"),
        text("Zimt und Zucker^"),
        text("Milch aufkochen, Reis einstreuen und bei kleiner Hitze quellen lassen.", "0040"),
    ])

# List file entries.
BRATEN = recipe(
    "01.09.1998", KITCHEN, "Rezeptur Fleischgerichte", "Schweinebraten", 120, "Fleischgerichte",
    "Schweinebraten mit Kruste", "Dunkelbierso\u00dfe (!)", 20, 30, 150, 620, 2595, 1, 110, [
        article(4, "kg", "Schweineschulter mit Schwarte"),
        article(0.5, "kg", "Zwiebeln"),
        article(0.3, "kg", "Karotten"),
        article(0.5, "l", "Dunkelbier"),
        article(1, "l", "Bratenfond"),
        text("K\u00fcmmel^Salz^"),
        text("Schwarte rautenf\u00f6rmig einschneiden, Fleisch w\u00fcrzen.", "0010"),
        approx("Im Ofen bei 160 \u00b0C braten, zuletzt die Kruste grillen.", "0150"),
    ])

ROULADEN = recipe(
    "01.09.1998", KITCHEN, "Rezeptur Fleischgerichte", "Rinderrouladen", 121, "Fleischgerichte",
    "Rinderrouladen", "mit Gurke und Speck", 10, 45, 100, 560, 2345, 0, 120, [
        article(10, "St\u00fcck", "Rouladen aus der Oberschale"),
        article(0.15, "kg", "Speck in Scheiben"),
        article(0.2, "kg", "Gew\u00fcrzgurken"),
        article(0.1, "kg", "Senf"),
        article(0.8, "l", "Rotwein"),
        text("F\u00fcr die So\u00dfe:^"),
        article(1, "l", "Bratenfond"),
        text("Rouladen bestreichen, belegen, aufrollen und feststecken.", "0020"),
        text("Anbraten, abl\u00f6schen und zugedeckt schmoren.", "0100"),
    ])

HUEHNERFRIKASSEE = recipe(
    "02.09.1998", KITCHEN, "Rezeptur Gefl\u00fcgel", "H\u00fchnerfrikassee", 130, "Gefl\u00fcgel",
    "H\u00fchnerfrikassee mit Reis", "", 12, 40, 60, 480, 2010, 3, 85, [
        article(2.4, "kg", "H\u00e4hnchenbrust"),
        article(0.3, "kg", "Champignons"),
        article(0.3, "kg", "Erbsen TK"),
        article(0.25, "kg", "Spargel"),
        article(1.5, "l", "Gefl\u00fcgelfond"),
        article(0.2, "l", "Sahne"),
        article(0.9, "kg", "Langkornreis", compact=True),
        text("Zitrone^"),
        text("H\u00e4hnchen im Fond garziehen lassen und in St\u00fccke teilen.", "0030"),
        text("Fond mit heller Mehlschwitze binden, Gem\u00fcse zugeben.", "0010"),
    ])

PUDDING = recipe(
    "05.10.1998", KITCHEN, "Rezeptur Nachspeisen", "Schokoladenpudding", 420, "Desserts",
    "Schokoladenpudding", "mit Vanilleso\u00dfe", 20, 20, 120, 290, 1215, 3, 25, [
        article(3, "l", "Vollmilch"),
        article(0.25, "kg", "Zucker"),
        article(0.2, "kg", "Speisest\u00e4rke"),
        article(0.15, "kg", "Kakaopulver"),
        text("Vanilleso\u00dfe^oder^Sahne^"),
        text("Milch mit Zucker aufkochen, anger\u00fchrte St\u00e4rke einr\u00fchren.", "0010"),
        text("In Schalen f\u00fcllen und kalt stellen.", "0120"),
    ])

ROTE_GRUETZE = recipe(
    "05.10.1998", KITCHEN, "Rezeptur Nachspeisen", "Rote Gr\u00fctze", 421, "Desserts",
    "Rote Gr\u00fctze", "", 20, 15, 60, 180, 755, 3, 0, [
        article(1.5, "kg", "Beerenmischung TK"),
        article(1, "l", "Kirschsaft"),
        article(0.2, "kg", "Zucker"),
        article(0.08, "kg", "Speisest\u00e4rke"),
        text("Saft mit Zucker aufkochen, mit St\u00e4rke binden, Beeren unterheben.", "0015"),
    ])

SALATTELLER = recipe(
    "06.10.1998", KITCHEN, "Rezeptur Salate", "Gemischter Salat", 530, "Salate",
    "Gemischter Salatteller", "mit Joghurtdressing", 10, 20, 0, 95, 400, 0, 2, [
        article(0.5, "kg", "Eisbergsalat"),
        article(0.4, "kg", "Tomaten"),
        article(0.4, "kg", "Salatgurke"),
        article(0.2, "kg", "Karotten"),
        text("F\u00fcr das Dressing:^"),
        article(0.3, "kg", "Joghurt 3,5 %"),
        article(0.03, "l", "Zitronensaft"),
        text("Kr\u00e4uter^Salz^"),
        text("Salate putzen, waschen und mundgerecht zupfen.", "0015"),
    ])

SUPPE_TAG = recipe(
    "07.10.1998", KITCHEN, "Rezeptur Suppen", "Tomatensuppe", 311, "Suppen",
    "Tomatensuppe mit Reis", "", 20, 20, 30, 160, 670, 2, 5, [
        article(3, "kg", "Tomaten gesch\u00e4lt (Dose)"),
        article(0.3, "kg", "Zwiebeln"),
        article(3, "l", "Gem\u00fcsebr\u00fche"),
        article(0.2, "kg", "Langkornreis"),
        text("Basilikum^"),
        text("Zwiebeln and\u00fcnsten, Tomaten und Br\u00fche zugeben, p\u00fcrieren.", "0025"),
    ])

SINGLES = {
    "REZ01001.DAT": GULASCH,
    "REZ01002.DAT": SPAETZLE,
    "REZ01003.DAT": ERBSENSUPPE,
    "REZ01004.DAT": APFELSTRUDEL,
    "REZ01005.DAT": KARTOFFELSALAT,
    "REZ01006.DAT": FISCH,
    "REZ01007.DAT": LINSEN,
    "REZ01008.DAT": MILCHREIS,
    "REZ01009.DAT": SUPPE_TAG,
}

LISTS = {
    "REZ09001.DAT": ([".Rezeptliste Fleischgerichte", ".Kantine Am Hafen, Export 01.09.1998"],
                     [BRATEN, ROULADEN, HUEHNERFRIKASSEE], b""),
    # DOS end-of-file byte after the last block, as older exports write it.
    "REZ09002.DAT": ([".Rezeptliste Nachspeisen"], [PUDDING, ROTE_GRUETZE, MILCHREIS], b"\x1a"),
    # An index without comment lines.
    "REZ09003.DAT": ([], [SALATTELLER, SUPPE_TAG, GULASCH, KARTOFFELSALAT], b""),
}


def main():
    if len(sys.argv) > 1 and sys.argv[1].startswith("-"):
        # --help (and any other option) writes nothing: an option is never the output folder.
        print(__doc__)
        sys.exit(0 if sys.argv[1] in ("-h", "--help") else 2)
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "samples")
    os.makedirs(out, exist_ok=True)
    for name, r in SINGLES.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(block_bytes(r["lines"]))
    for name, (comments, recipes, trailer) in LISTS.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(list_file(comments, recipes, trailer))


if __name__ == "__main__":
    main()
