#!/usr/bin/env bash
# Checks the user guide as a reader's tools see it: A4 pages, title and author, every font
# embedded, an outline entry and a named destination for each chapter, and each chapter's heading
# in the text.
#
#     bash tests/guide/check_guide.sh build/bin/Guida.pdf
set -euo pipefail
pdf="$1"
fail() { echo "check_guide: $*" >&2; exit 1; }
[ -f "$pdf" ] || fail "$pdf does not exist"

chapters=(
  "avvio|Avvio e password"
  "menu|Il menu principale"
  "clienti|Anagrafica clienti"
  "magazzino|Magazzino prodotti"
  "fatture|Fatture proforma e i loro elenchi"
  "fatturaelettronica|La fattura elettronica"
  "statistiche|Statistiche del fatturato"
  "controlli|Strumenti di controllo"
  "esportazioni|Esportazioni"
  "tasti|I tasti"
  "copie|Copie di sicurezza e cartella condivisa"
)

info="$(pdfinfo "$pdf")"
field() { sed -n "s/^$1: *//p" <<<"$info"; }
[ "$(field Title)" = "Tarvello – Guida all'utilizzo" ] || fail "title is '$(field Title)'"
[ "$(field Author)" = "Tarvello Software" ] || fail "author is '$(field Author)'"
grep -q '^Page size: *595 x 842 pts (A4)' <<<"$info" || fail "pages are not A4"
pages="$(field Pages)"
[ "$pages" -ge "${#chapters[@]}" ] || fail "only $pages pages"

# pdffonts: the column "emb" of every font says yes.
if pdffonts "$pdf" | tail -n +3 | awk '{ if ($(NF-4) != "yes") bad = 1 } END { exit !bad }'; then
  fail "a font is not embedded: $(pdffonts "$pdf")"
fi
[ "$(pdffonts "$pdf" | tail -n +3 | wc -l)" -gt 0 ] || fail "no fonts at all"

outline="$(qpdf --json --json-key=outlines "$pdf")"
dests="$(pdfinfo -dests "$pdf")"
text="$(pdftotext -layout "$pdf" - | tr -d '\f')"
for entry in "${chapters[@]}"; do
  name="${entry%%|*}"
  title="${entry#*|}"
  grep -qF "\"title\": \"$title\"" <<<"$outline" || fail "no outline entry '$title'"
  grep -qE "\"$name\"\$" <<<"$dests" || fail "no named destination '$name'"
  # A chapter starts a page: its heading is on a line of its own.
  grep -qxE " *$title *" <<<"$text" || fail "no heading '$title' in the text"
done
echo "Guida.pdf: $pages pages, ${#chapters[@]} chapters, outline, destinations and fonts in place"
