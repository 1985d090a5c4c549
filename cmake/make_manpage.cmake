# Makes the manual page: the template with its @CONFIG_KEYS@ line replaced by
# the key reference that configdoc --roff prints.
# cmake -DCONFIGDOC=... -DTEMPLATE=... -DOUTPUT=... -P make_manpage.cmake
execute_process(COMMAND ${CONFIGDOC} --roff OUTPUT_VARIABLE keys RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "configdoc --roff failed: ${result}")
endif()
file(READ ${TEMPLATE} page)
string(REPLACE "@CONFIG_KEYS@\n" "${keys}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
