"""A speech server for Orca that speaks nothing and writes what it is given to say, one line
each, to the file named by $SPEECH_LOG: what a user would hear, readable by a test as soon as
it is said. Orca loads it by its module name, given as its speech server factory. Orca 48
(Debian 13) calls some of the methods by new names (get_speech_server, get_info, speak_key_event
...), Orca 43 (Debian 12) by the old: the server answers to both."""
import os

from orca import speechserver


class SpeechServer(speechserver.SpeechServer):
    _instance = None

    @staticmethod
    def getFactoryName():
        return "Speech log"

    @staticmethod
    def getSpeechServers():
        return [SpeechServer.get_speech_server()]

    @staticmethod
    def get_speech_server(info=None):
        if SpeechServer._instance is None:
            SpeechServer._instance = SpeechServer()
        return SpeechServer._instance

    getSpeechServer = get_speech_server

    @staticmethod
    def shutdownActiveServers():
        if SpeechServer._instance is not None:
            SpeechServer._instance.shutdown()

    def __init__(self):
        super().__init__()
        self._log = open(os.environ["SPEECH_LOG"], "a", buffering=1, encoding="utf-8")

    def get_info(self):
        return [self.getFactoryName(), "log"]

    getInfo = get_info

    def getVoiceFamilies(self):
        return []

    def speak(self, text=None, acss=None, interrupt=True):
        if text and not self._log.closed:
            self._log.write(" ".join(text.split()) + "\n")

    def speak_character(self, character, acss=None):
        self.speak(character)

    speakCharacter = speak_character

    def speak_key_event(self, event, acss=None):
        self.speak(event.get_key_name() if hasattr(event, "get_key_name") else event.getKeyName())

    speakKeyEvent = speak_key_event

    def shutdown(self):
        self._log.close()
