"""Writes and reads CSV files with Python's csv module, for the tests of the CSV file.

  csvdialekt.py schreiben DATEI TRENNER TEXTTRENNER QUOTING ZEILENENDE KODIERUNG  < rows as JSON
  csvdialekt.py lesen DATEI TRENNER TEXTTRENNER KODIERUNG                           > rows as JSON

An empty TEXTTRENNER means no quoting at all.
"""
import csv
import json
import sys

QUOTING = {"minimal": csv.QUOTE_MINIMAL, "alle": csv.QUOTE_ALL, "keine": csv.QUOTE_NONE}


def optionen(trenner, texttrenner):
    if texttrenner:
        return {"delimiter": trenner, "quotechar": texttrenner}
    return {"delimiter": trenner, "quoting": csv.QUOTE_NONE}


def main():
    art, datei = sys.argv[1], sys.argv[2]
    if art == "schreiben":
        trenner, texttrenner, quoting, zeilenende, kodierung = sys.argv[3:8]
        o = optionen(trenner, texttrenner)
        if texttrenner:
            o["quoting"] = QUOTING[quoting]
        zeilenende = zeilenende.encode().decode("unicode_escape")
        with open(datei, "w", newline="", encoding=kodierung) as f:
            csv.writer(f, lineterminator=zeilenende, **o).writerows(json.load(sys.stdin))
    else:
        trenner, texttrenner, kodierung = sys.argv[3:6]
        with open(datei, newline="", encoding=kodierung) as f:
            json.dump(list(csv.reader(f, **optionen(trenner, texttrenner))), sys.stdout)


if __name__ == "__main__":
    main()
