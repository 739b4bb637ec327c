# Moodle CodeRunner: the template of a "python3" question, run once per test case.
# Support files: quarzel-cli (statically linked) and exercise.tests.toml. Each test
# case's "Test code" is the name of one test of the file; its "Expected output" is
# "passed". The student answers with the program's source.
import os
import subprocess

with open("program.asm", "w", encoding="utf-8") as source:
    source.write("""{{ STUDENT_ANSWER | e('py') }}""")
os.chmod("quarzel-cli", 0o755)
result = subprocess.run(
    ["./quarzel-cli", "test", "exercise.tests.toml", "program.asm", "--test",
     """{{ TEST.testcode | e('py') }}"""],
    capture_output=True, text=True)
print("passed" if result.returncode == 0 else result.stdout + result.stderr)
