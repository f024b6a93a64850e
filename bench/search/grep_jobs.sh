# Job lines for peers.sh: haruvi-tool grep beside GNU grep and ripgrep on the same
# corpus (literal 文字コード and class regex [0-9]+年[0-9]+月, one file and the tree).
# Sourced by peers.sh through -x; HARUVI_TOOL names the Release build of haruvi-tool.
# xargs exits 123 when a batch of files has no match (exit 1); that is not a failure.
export HARUVI_TOOL=${HARUVI_TOOL:-/work/main/build/regex-rel/src/tools/haruvi-tool}
export LIT=$(cat "$C/patterns/lit.sjis") RE=$(cat "$C/patterns/re.sjis")
job grep.lit "haruvi-tool grep -n (SJIS-aware)" "$T" lines:text_grep_lit_lines '"$HARUVI_TOOL" grep -n --raw "$LIT" "$C/text.sjis" > "$O"'
job grep.re  "haruvi-tool grep -n (SJIS-aware)" "$T" lines:text_grep_re_lines '"$HARUVI_TOOL" grep -n --raw "$RE" "$C/text.sjis" > "$O"'
job grep.tree.lit "haruvi-tool grep -n (xargs)" "$C/tree" lines:tree_grep_lit_lines 'find "$C/tree" -type f -print0 | xargs -0 "$HARUVI_TOOL" grep -n --raw "$LIT" > "$O"; rc=$?; [ $rc -le 1 ] || [ $rc -eq 123 ]'
job grep.tree.re  "haruvi-tool grep -n (xargs)" "$C/tree" lines:tree_grep_re_lines 'find "$C/tree" -type f -print0 | xargs -0 "$HARUVI_TOOL" grep -n --raw "$RE" > "$O"; rc=$?; [ $rc -le 1 ] || [ $rc -eq 123 ]'
# The tree walked by haruvi-tool itself, with as many workers as ripgrep's two threads.
job grep.tree.lit "haruvi-tool grep -r -j2" "$C/tree" lines:tree_grep_lit_lines '"$HARUVI_TOOL" grep -r -j2 -n --raw "$LIT" "$C/tree" > "$O"; [ $? -le 1 ]'
job grep.tree.re  "haruvi-tool grep -r -j2" "$C/tree" lines:tree_grep_re_lines '"$HARUVI_TOOL" grep -r -j2 -n --raw "$RE" "$C/tree" > "$O"; [ $? -le 1 ]'
job grep.tree.lit "rg -a -j2"             "$C/tree" lines:tree_grep_lit_lines 'rg --no-config --no-ignore -a -n -j2 -f "$C/patterns/lit.rgx" "$C/tree" > "$O"'
job grep.tree.re  "rg -a -j2"             "$C/tree" lines:tree_grep_re_lines 'rg --no-config --no-ignore -a -n -j2 -f "$C/patterns/re.rgx" "$C/tree" > "$O"'
