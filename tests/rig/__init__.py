"""Everything that drives the programs under Wine, for the end-to-end tests, the demo,
the screenshot and the benchmark. namespace.run_in_namespace(body) runs body in private
network, mount and PID namespaces with a display and one wineserver; environment reads
the program, the Wine launcher and prefix and the server host; wine runs commands and
maps drives; program runs hiscores.exe silently or as a Window, with its message boxes;
registry sets records and proxy settings; servers holds RecordingServer and TinyProxy;
sources reads the program's texts and dialog layout; gui drives windows with xdotool;
display starts Xvfb; testcase holds WineTestCase and main().
"""
