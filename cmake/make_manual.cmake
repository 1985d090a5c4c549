# Fills the manual page's template: the version, the date, and the roff
# paragraphs of the options, the controls and the configuration keys that
# optiondoc and configdoc printed. The README's folder (@VORN_DOCDIR@) is
# left for the install, which knows the prefix.
#   cmake -DTEMPLATE=... -DKEYS=... -DOPTIONS=... -DCONTROLS=... -DOUT=...
#         -DPROJECT_VERSION=... -DVORN_DATE=... -P make_manual.cmake
foreach(part KEYS OPTIONS CONTROLS)
  file(READ "${${part}}" text)
  string(REGEX REPLACE "\n$" "" VORN_${part} "${text}")
endforeach()
set(VORN_CONFIG_KEYS "${VORN_KEYS}")
set(VORN_DOCDIR "@VORN_DOCDIR@")
configure_file("${TEMPLATE}" "${OUT}" @ONLY)
