# The CUPS test needs the private print server (tools/cups-private.sh start); it skips itself
# when none is running. The label lets it be run or left out on its own:
#   ctest -L cups   /   ctest -LE cups
if(TEST tst_PrintCups)
    set_tests_properties(tst_PrintCups PROPERTIES LABELS cups TIMEOUT 120)
endif()
