# Job lines for peers.sh -x: haruvi-tool's text commands in the rows of their peers.
# HARUVI_TOOL is set by run.sh (the Release build of haruvi-tool).
job sort     "haruvi text sort-asc (ja collation, SJIS)" "$T" lines:text_lines '"$HARUVI_TOOL" text sort-asc "$C/text.sjis" > "$O"'
job sort     "haruvi text sort-desc (ja collation, SJIS)" "$T" lines:text_lines '"$HARUVI_TOOL" text sort-desc "$C/text.sjis" > "$O"'
job uniq     "haruvi text del-repeated"  "$T" lines:text_lines_after_uniq '"$HARUVI_TOOL" text del-repeated "$C/text.sjis" > "$O"'
job delempty "haruvi text del-empty"     "$T" lines:text_lines_after_delete_empty '"$HARUVI_TOOL" text del-empty "$C/text.sjis" > "$O"'
