# The real-audio test needs a sound server (tools/pulse-private.sh start); it skips itself
# when none is running. The label lets it be run or left out on its own:
#   ctest -L realaudio   /   ctest -LE realaudio
if(TEST tst_audiorealaudio)
    set_tests_properties(tst_audiorealaudio PROPERTIES LABELS realaudio TIMEOUT 120)
endif()
