# Usage: . tools/wine-locale.sh
# Gives the Wine lanes a UTF-8 locale. Wine names files through the Unix
# locale, so without a UTF-8 one it cannot create names outside ASCII; it also
# takes the ANSI code page and the interface language from the locale's
# name. A caller's own UTF-8 locale is kept (a Japanese shell runs the tests
# in code page 932 with Japanese dialogs), made with localedef when glibc
# lacks it and this runs as root; an empty or non-UTF-8 one becomes C.UTF-8.
# VEL_LOCALE_NOTE says what was done, for the test summary; VEL_LOCALE_MAKE=0
# leaves missing locales unmade.
vel_locale=${LC_ALL:-${LC_CTYPE:-${LANG:-}}}
vel_locale_codeset=${vel_locale#*.}
vel_locale_codeset=${vel_locale_codeset%%@*}
if [[ "$vel_locale" != *.* || ! "${vel_locale_codeset,,}" =~ ^utf-?8$ ]]; then
  if [[ -z "$vel_locale" ]]; then
    VEL_LOCALE_NOTE="locale C.UTF-8 (the environment names none)"
  else
    VEL_LOCALE_NOTE="locale C.UTF-8 (the caller's $vel_locale is not UTF-8)"
  fi
  export LC_ALL=C.UTF-8
else
  # glibc lists a locale as language_TERRITORY.utf8[@modifier].
  vel_locale_base=${vel_locale%%.*}
  vel_locale_modifier=${vel_locale#"${vel_locale%@*}"}
  [[ "$vel_locale_modifier" == "$vel_locale" ]] && vel_locale_modifier=
  vel_locale_listed="$vel_locale_base.utf8$vel_locale_modifier"
  if ! locale -a 2>/dev/null | grep -qxF "$vel_locale_listed"; then
    if [[ $(id -u) -eq 0 && "${VEL_LOCALE_MAKE:-1}" == 1 ]] &&
       localedef -i "$vel_locale_base$vel_locale_modifier" -f UTF-8 "$vel_locale_listed" >/dev/null 2>&1; then
      :
    else
      echo "warning: the locale $vel_locale is not installed; Wine cannot name files outside ASCII" \
           "without it (as root: localedef -i $vel_locale_base$vel_locale_modifier -f UTF-8 $vel_locale_listed)" >&2
    fi
  fi
  VEL_LOCALE_NOTE="locale $vel_locale"
  export LC_ALL=$vel_locale
fi
export VEL_LOCALE_NOTE
unset vel_locale vel_locale_codeset vel_locale_base vel_locale_modifier vel_locale_listed
