# Fills the manual page's template: the version, the date and the
# configuration keys (the roff paragraphs that configdoc --roff printed).
#   cmake -DTEMPLATE=... -DKEYS=... -DOUT=... -DPROJECT_VERSION=... -DVORN_DATE=... -P make_manual.cmake
file(READ "${KEYS}" VORN_CONFIG_KEYS)
string(REGEX REPLACE "\n$" "" VORN_CONFIG_KEYS "${VORN_CONFIG_KEYS}")
configure_file("${TEMPLATE}" "${OUT}" @ONLY)
