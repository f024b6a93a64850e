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
