"""Everything that drives the programs under Wine, for the end-to-end tests, the demo,
the screenshot and the benchmark:

- namespace: run_in_namespace(body), a private network, mount and PID namespace with
  the server's host name on 127.0.0.1, a display and one wineserver; work_dir();
  map_server_host(reachable)
- environment: the program, the Wine launcher and prefix, the server host
- wine: run(args), map_drive(letter, folder); display: Xvfb, also for ctest fixtures
- program: run(args) and Window(), hiscores.exe with the texts of its message boxes
- registry: set_records(games), set_proxy(server, enable), import_registry(text)
- servers: RecordingServer, TinyProxy (context managers), expected_request(body)
- sources: the program's texts and its dialog's layout, read from its sources
- gui: windows on the display through xdotool; DialogLayout
- testcase: WineTestCase, main()
"""
