"""Checks a stored mail message with Python's own MIME parser.

Usage: check_eml.py FILE key=value ...
  from=ADDRESS  from-name=NAME  to=ADDRESS (repeatable)  subject=TEXT  body=TEXT
  attachment=NAME|CONTENT-TYPE|PATH-OF-EXPECTED-BYTES (repeatable, in order; when
    given, the message has exactly these attachments)
  absent=HEADER (repeatable)
Prints every mismatch and exits 1 when there is one.
"""
import email
import email.policy
import sys

problems = []
raw = open(sys.argv[1], "rb").read()
if b"\n" in raw.replace(b"\r\n", b""):
    problems.append("a line ends without CR")
if any(byte > 127 for byte in raw):
    problems.append("bytes outside 7-bit ASCII")
if any(len(line) > 998 for line in raw.split(b"\r\n")):
    problems.append("a line longer than 998 characters")

message = email.message_from_bytes(raw, policy=email.policy.default)
if message.defects:
    problems.append("message defects: %r" % message.defects)
if message.get_content_type() != "multipart/mixed":
    problems.append("content type %s" % message.get_content_type())

expected_to = []
attachments = []
for argument in sys.argv[2:]:
    key, _, value = argument.partition("=")
    if key == "from":
        found = message["From"].addresses[0].addr_spec
        if found != value:
            problems.append("From address %r, expected %r" % (found, value))
    elif key == "from-name":
        found = message["From"].addresses[0].display_name
        if found != value:
            problems.append("From name %r, expected %r" % (found, value))
    elif key == "to":
        expected_to.append(value)
    elif key == "subject":
        if message["Subject"] != value:
            problems.append("Subject %r, expected %r" % (message["Subject"], value))
    elif key == "body":
        found = message.get_body(preferencelist=("plain",)).get_content()
        if found != value:
            problems.append("body %r, expected %r" % (found, value))
    elif key == "attachment":
        attachments.append(value.split("|"))
    elif key == "absent":
        if message[value] is not None:
            problems.append("header %s present: %r" % (value, message[value]))

if expected_to:
    found = [address.addr_spec for address in message["To"].addresses]
    if found != expected_to:
        problems.append("To %r, expected %r" % (found, expected_to))

parts = list(message.iter_attachments())
if attachments and len(parts) != len(attachments):
    problems.append("%d attachments, expected %d" % (len(parts), len(attachments)))
for part, (name, content_type, path) in zip(parts, attachments):
    if part.get_filename() != name:
        problems.append("attachment name %r, expected %r" % (part.get_filename(), name))
    if part.get_content_type() != content_type:
        problems.append("attachment type %r, expected %r" % (part.get_content_type(), content_type))
    if part.get_payload(decode=True) != open(path, "rb").read():
        problems.append("attachment %r bytes differ" % name)

for problem in problems:
    print(problem, file=sys.stderr)
sys.exit(1 if problems else 0)
