# bash completion for kexwell-cli                              -*- shell-script -*-

_kexwell_cli() {
  local cur prev words cword
  _init_completion || return

  local commands="purge list speed-test purge-free-space"
  local command="" i
  for ((i = 1; i < cword; i++)); do
    case "${words[i]}" in
      purge | list | speed-test | purge-free-space)
        command="${words[i]}"
        break
        ;;
    esac
  done

  case "$prev" in
    -t | --type)
      COMPREPLY=($(compgen -W "1 2 3" -- "$cur"))
      return
      ;;
    -p | --passes)
      COMPREPLY=($(compgen -W "1 2 3 4 5 6 7 8 9" -- "$cur"))
      return
      ;;
    -f | --files | -b | --before)
      return
      ;;
    --setup | --save-setup)
      _filedir kxs
      return
      ;;
  esac

  local shared="-f --files -r --subfolders -t --type -p --passes -b --before --setup --save-setup -h --help"
  local options
  case "$command" in
    "")
      COMPREPLY=($(compgen -W "$commands -h --help --version" -- "$cur"))
      return
      ;;
    purge)
      options="$shared --keep --read-only --system --hard-linked --sensitive --folder-names-only
        --keep-empty-folders --confirm-each -y --yes --remove-target-folder"
      ;;
    list) options="$shared --no-file-names --no-folder-names" ;;
    speed-test) options="-y --yes -h --help" ;;
    purge-free-space) options="-t --type -p --passes -y --yes -h --help" ;;
  esac

  if [[ "$cur" == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
  elif [[ "$command" == speed-test || "$command" == purge-free-space ]]; then
    _filedir -d
  else
    _filedir
  fi
} && complete -F _kexwell_cli kexwell-cli

# ex: filetype=sh
