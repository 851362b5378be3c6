// Present so the resource library builds before any picture exists.
