# bash completion for haruvi-tool
_haruvi_tool() {
  local cur prev words cword
  _init_completion || return
  local commands="cat detect conv width text grep gsub dirstat copy move trash split merge info hexdump archive"
  if [[ $cword -eq 1 ]]; then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return
  fi
  case "${words[1]}" in
    conv)
      if [[ $cword -eq 2 || ( $cword -ge 3 && ${words[cword-1]} == --* ) ]]; then
        COMPREPLY=($(compgen -W "--raw --lossy jis2sjis euc2sjis sjis2jis euc2jis sjis2euc jis2euc base64 mime base64d uu uud binhex binhexd mimed auto sjis2utf8 utf82sjis euc2utf8 utf82euc jis2utf8 utf82jis utf162utf8 utf82utf16 utf82utf16le utf82utf16be" -- "$cur"))
        return
      fi ;;
    width)
      if [[ $cword -eq 2 ]]; then COMPREPLY=($(compgen -W "han2zen zen2han kana2zen" -- "$cur")); return; fi ;;
    text)
      if [[ $cword -eq 2 ]]; then
        COMPREPLY=($(compgen -W "list $(haruvi-tool text list 2>/dev/null | awk 'NR > 1 { print $1 }')" -- "$cur"))
        return
      fi ;;
    grep)
      if [[ ${words[cword-1]} == --out ]]; then COMPREPLY=($(compgen -W "sjis utf8" -- "$cur")); return; fi
      if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W "-n -H -r -j --fuzzy --raw --out" -- "$cur")); return; fi ;;
    gsub)
      if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W "--fuzzy --raw" -- "$cur")); return; fi ;;
    hexdump)
      if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W "--below" -- "$cur")); return; fi ;;
    dirstat)
      _filedir -d; return ;;
    archive)
      if [[ $cword -eq 2 ]]; then COMPREPLY=($(compgen -W "list unpack create" -- "$cur")); return; fi
      if [[ ${words[2]} == create && $cword -eq 3 ]]; then
        COMPREPLY=($(compgen -W "--update lzh zip tar tgz bz2 cab" -- "$cur")); return
      fi ;;
    copy|move)
      if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W "--replace --skip" -- "$cur")); return; fi ;;
  esac
  _filedir
}
complete -F _haruvi_tool haruvi-tool
