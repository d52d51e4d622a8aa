"""The end-to-end tests' base class and entry point."""

import unittest

from rig import namespace, registry


class WineTestCase(unittest.TestCase):
    """Starts every test with no records, no proxy and the server's name resolving."""

    def setUp(self):
        namespace.map_server_host(True)
        registry.import_registry(registry.proxy_text("", 0) + registry.records_text([]))


def main():
    """Runs the calling test module's tests in the rig's namespace."""
    def tests():
        program = unittest.main(module="__main__", verbosity=2, exit=False)
        return 0 if program.result.wasSuccessful() else 1
    namespace.run_in_namespace(tests)
