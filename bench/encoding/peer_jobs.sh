# Job lines for ../../../shared/bench/peers.sh (-x): haruvi-tool beside the peer tools, in
# the same job groups so the ratios come from the same minutes of the machine.
# Sourced by peers.sh with C (corpus), W (tmpfs work folder) and H (haruvi-tool) set.
# The codings read the file as it is (--raw): loaded as text lines, random bytes would
# stop at their first NUL.

for f in text.sjis text.euc text.jis ambig.euc ascii.txt random.bin; do
  job "detect.$f" "haruvi-tool detect" "$C/$f" first "\"\$H\" detect \"\$C/$f\" > \"\$O\""
done
job conv.sjis2euc "haruvi-tool conv sjis2euc" "$C/text.sjis" sha:text.euc '"$H" conv sjis2euc "$C/text.sjis" > "$O"'
job conv.euc2sjis "haruvi-tool conv euc2sjis" "$C/text.euc" sha:text.sjis '"$H" conv euc2sjis "$C/text.euc" > "$O"'
job conv.sjis2jis "haruvi-tool conv sjis2jis" "$C/text.sjis" - '"$H" conv sjis2jis "$C/text.sjis" > "$O"'
job conv.jis2sjis "haruvi-tool conv jis2sjis" "$C/text.jis" sha:text.jis_to_sjis '"$H" conv jis2sjis "$C/text.jis" > "$O"'
job b64.enc "haruvi-tool conv --raw base64" "$C/random.bin" - '"$H" conv --raw base64 "$C/random.bin" > "$O"'
job b64.dec "haruvi-tool conv --raw base64d" "$W/random.b64" sha:random.bin '"$H" conv --raw base64d "$W/random.b64" > "$O"'
job uu.enc "haruvi-tool conv --raw uu" "$C/random.bin" - '"$H" conv --raw uu "$C/random.bin" > "$O"'
job binhex.enc "haruvi-tool conv --raw binhex" "$C/random.bin" - '"$H" conv --raw binhex "$C/random.bin" > "$O"'

# The decoders read their own encoders' line formats (no begin/end lines, ':' around).
"$H" conv --raw uu "$C/random.bin" > "$W/random.hvuu"
"$H" conv --raw binhex "$C/random.bin" > "$W/random.hvhqx"
job uu.dec "haruvi-tool conv --raw uud" "$W/random.hvuu" sha:random.bin '"$H" conv --raw uud "$W/random.hvuu" > "$O"'
job binhex.dec "haruvi-tool conv --raw binhexd" "$W/random.hvhqx" sha:random.bin '"$H" conv --raw binhexd "$W/random.hvhqx" > "$O"'

# UTF-8 and UTF-16: detection of the UTF-8 text, and the conversions beside iconv's CP932.
job detect.text.utf8 "uchardet" "$C/text.utf8" first 'uchardet "$C/text.utf8" > "$O"'
job detect.text.utf8 "nkf --guess" "$C/text.utf8" first 'nkf --guess "$C/text.utf8" > "$O"'
job detect.text.utf8 "haruvi-tool detect" "$C/text.utf8" first '"$H" detect "$C/text.utf8" > "$O"'
job conv.sjis2utf8 "iconv CP932>UTF-8" "$C/text.sjis" sha:text.utf8 'iconv -f CP932 -t UTF-8 "$C/text.sjis" > "$O"'
job conv.sjis2utf8 "haruvi-tool conv sjis2utf8" "$C/text.sjis" sha:text.utf8 '"$H" conv sjis2utf8 "$C/text.sjis" > "$O"'
job conv.utf82sjis "iconv UTF-8>CP932" "$C/text.utf8" sha:text.sjis 'iconv -f UTF-8 -t CP932 "$C/text.utf8" > "$O"'
job conv.utf82sjis "haruvi-tool conv utf82sjis" "$C/text.utf8" sha:text.sjis '"$H" conv utf82sjis "$C/text.utf8" > "$O"'
iconv -f UTF-8 -t UTF-16 "$C/text.utf8" > "$W/text.utf16"
job conv.utf162utf8 "iconv UTF-16>UTF-8" "$W/text.utf16" sha:text.utf8 'iconv -f UTF-16 -t UTF-8 "$W/text.utf16" > "$O"'
job conv.utf162utf8 "haruvi-tool conv utf162utf8" "$W/text.utf16" sha:text.utf8 '"$H" conv utf162utf8 "$W/text.utf16" > "$O"'
