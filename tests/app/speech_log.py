"""A speech server for Orca that speaks nothing and writes what it is given to say, one line
each, to the file named by $SPEECH_LOG: what a user would hear, readable by a test as soon as
it is said. Orca loads it by its module name, given as its speech server factory."""
import os

from orca import speechserver


class SpeechServer(speechserver.SpeechServer):
    _instance = None

    @staticmethod
    def getFactoryName():
        return "Speech log"

    @staticmethod
    def getSpeechServers():
        return [SpeechServer.getSpeechServer()]

    @staticmethod
    def getSpeechServer(info=None):
        if SpeechServer._instance is None:
            SpeechServer._instance = SpeechServer()
        return SpeechServer._instance

    @staticmethod
    def shutdownActiveServers():
        if SpeechServer._instance is not None:
            SpeechServer._instance.shutdown()

    def __init__(self):
        super().__init__()
        self._log = open(os.environ["SPEECH_LOG"], "a", buffering=1, encoding="utf-8")

    def getInfo(self):
        return [self.getFactoryName(), "log"]

    def getVoiceFamilies(self):
        return []

    def speak(self, text=None, acss=None, interrupt=True):
        if text and not self._log.closed:
            self._log.write(" ".join(text.split()) + "\n")

    def speakCharacter(self, character, acss=None):
        self.speak(character)

    def speakKeyEvent(self, event, acss=None):
        self.speak(event.getKeyName())

    def shutdown(self):
        self._log.close()
