#!/usr/bin/env bash
# Prints a booklet through the print dialog's own code path (the real printer
# system, QPrinter's CUPS engine, our spooling and submission) onto a cups-pdf
# queue and checks what the queue writes: two jobs (one per pass, in order)
# of two sheets each; the sheet order by the text on each sheet when the PDF
# still carries its text. Needs root: starts cupsd when none runs and adds a
# queue. Packages: cups printer-driver-cups-pdf poppler-utils.
# Usage: BUILD_DIR=build tests/manual/cups_booklet.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
QUEUE=ZorPokazPdf
OUT=/var/spool/zorpokaz-test/cups-pdf

for tool in cupsd lpadmin lpstat pdftotext pdfinfo; do
  command -v "$tool" >/dev/null || {
    echo "missing $tool (apt-get install cups printer-driver-cups-pdf poppler-utils)"; exit 2; }
done

started=""
stop() { if [ -n "$started" ]; then kill "$started"; fi; }
trap stop EXIT
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  cupsd -f &
  started=$!
  for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.2; done
fi

mkdir -p "$OUT"
chmod 0777 "$OUT"
# cups-pdf writes into the directory of its "Out" setting.
sed -i "s|^#\?Out .*|Out $OUT|" /etc/cups/cups-pdf.conf
lpadmin -p "$QUEUE" -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd

ZP_CUPS_QUEUE="$QUEUE" ZP_CUPS_OUTDIR="$OUT" QT_QPA_PLATFORM=offscreen \
  "$BUILD_DIR/tests/zp_test_printing" --gtest_filter='CupsQueue.*'
